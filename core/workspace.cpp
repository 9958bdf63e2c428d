#include "core/workspace.h"

#include "colour/reach_mapping.h"
#include "refine/refine_canvas.h"

namespace pavona {

Workspace::Workspace()
{
  palette = PaletteColours(PaletteId::Pepto);
}

Workspace::~Workspace() = default;

}  // namespace pavona
