#include "core/workspace.h"

#include "colour/reach_mapping.h"
#include "core/huge_page_block.h"
#include "refine/refine_canvas.h"

namespace pavona {

Workspace::Workspace()
{
  palette = PaletteColours(PaletteId::Pepto);
}

Workspace::~Workspace() = default;

void* Workspace::operator new(std::size_t size)
{
  return AllocateHugePageBlock(size);
}

void Workspace::operator delete(void* workspace, std::size_t size) noexcept
{
  FreeHugePageBlock(workspace, size);
}

}  // namespace pavona
