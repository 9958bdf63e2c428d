#include "core/workspace.h"

#include "core/refine_canvas.h"

namespace pavona {

Workspace::Workspace() : palette(PaletteColours(PaletteId::Pepto)) {}

Workspace::~Workspace() = default;

}  // namespace pavona
