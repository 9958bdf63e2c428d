#include "core/huge_page_block.h"

#include <cstdint>
#include <new>

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
#define PAVONA_HUGE_PAGE_BLOCKS 1
#include <sys/mman.h>
#endif

namespace pavona {

#ifdef PAVONA_HUGE_PAGE_BLOCKS

namespace {

constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;

std::uintptr_t RoundUp(std::uintptr_t value)
{
  return (value + HugePage - 1) / HugePage * HugePage;
}

}  // namespace

void* AllocateHugePageBlock(std::size_t size)
{
  // One huge page more than the block, so that an aligned start lies inside;
  // what lies before and after it is handed back.
  const std::uintptr_t length = RoundUp(size);
  void* mapped =
      mmap(nullptr, length + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    throw std::bad_alloc();
  }
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = RoundUp(start);
  if (aligned > start) {
    munmap(mapped, aligned - start);
  }
  if (const std::uintptr_t after = start + HugePage - aligned; after > 0) {
    munmap(reinterpret_cast<void*>(aligned + length), after);
  }
  // Only advice: without huge pages the block works as well, more slowly.
  madvise(reinterpret_cast<void*>(aligned), length, MADV_HUGEPAGE);
  return reinterpret_cast<void*>(aligned);
}

void FreeHugePageBlock(void* block, std::size_t size) noexcept
{
  munmap(block, RoundUp(size));
}

#else

void* AllocateHugePageBlock(std::size_t size)
{
  return ::operator new(size);
}

void FreeHugePageBlock(void* block, std::size_t size) noexcept
{
  ::operator delete(block, size);
}

#endif

}  // namespace pavona
