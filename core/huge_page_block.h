#pragma once

#include <cstddef>

namespace pavona {

// Memory for a block of a megabyte or more that a run fills at once, such as
// the workspace's pictures. On Linux it is mapped on its own, aligned to
// 2 MiB and marked for transparent huge pages, so that the kernel backs it
// with a few large pages instead of faulting in hundreds of 4 KiB ones, each
// zeroed on first touch (a third of a short command-line run on a virtual
// machine). Elsewhere, and under AddressSanitizer (which checks blocks of its
// own allocator only), it is ordinary heap memory. Throws std::bad_alloc.
void* AllocateHugePageBlock(std::size_t size);
// Frees a block of AllocateHugePageBlock, given the same size.
void FreeHugePageBlock(void* block, std::size_t size) noexcept;

}  // namespace pavona
