#include "core/workspace.h"

namespace pavona {

Workspace::Workspace() : palette(PaletteColours(PaletteId::Pepto)) {}

}  // namespace pavona
