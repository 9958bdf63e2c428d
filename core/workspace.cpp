#include "core/workspace.h"

#include "refine/refine_canvas.h"

namespace pavona {

Workspace::Workspace()
{
  palette = PaletteColours(PaletteId::Pepto);
}

Workspace::~Workspace() = default;

}  // namespace pavona
