#pragma once

#include <cstddef>

namespace pavona {

// A conversion makes and frees buffers of a quarter megabyte and more over
// and over: pictures, decoded fields, each PNG file's encoder. glibc hands
// such blocks back to the system when they are freed, and the next one comes
// back as fresh pages, each zeroed by the kernel on first touch. Called once
// at the start of a program, this keeps them in the process instead, to be
// reused; a picture file's pixels (above 32 MB) are still mapped and
// returned apart. Elsewhere than glibc it does nothing.
void KeepFreedMemoryForReuse();

// Memory for a block of half a megabyte or more that a run fills at once,
// such as the workspace's pictures. On Linux it is mapped on its own, aligned to
// 2 MiB and marked for transparent huge pages, so that the kernel backs it
// with a few large pages instead of faulting in hundreds of 4 KiB ones, each
// zeroed on first touch (a third of a short command-line run on a virtual
// machine). Elsewhere, and under AddressSanitizer (which checks blocks of its
// own allocator only), it is ordinary heap memory. Throws std::bad_alloc.
void* AllocateHugePageBlock(std::size_t size);
// Asks for huge pages for the whole 2 MiB pages inside a block of memory not
// touched yet, such as a large picture's pixels just reserved. Only advice:
// where the system has no such pages nothing changes.
void AdviseHugePages(void* start, std::size_t bytes);

// Frees a block of AllocateHugePageBlock, given the same size.
void FreeHugePageBlock(void* block, std::size_t size) noexcept;

// A base for the large structures a run fills whole (pictures): made with
// `new` or std::make_unique, they are placed on huge pages. Never delete one
// through a pointer to this base.
struct OnHugePages {
  static void* operator new(std::size_t size) { return AllocateHugePageBlock(size); }
  static void operator delete(void* block, std::size_t size) noexcept
  {
    FreeHugePageBlock(block, size);
  }
};

}  // namespace pavona
