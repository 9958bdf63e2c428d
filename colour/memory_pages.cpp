#include "colour/memory_pages.h"

#include <cstdint>
#include <new>

#ifdef __linux__
#include <sys/mman.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace pavona {

void KeepFreedMemoryForReuse()
{
#ifdef __GLIBC__
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 64 << 20);
#endif
}

#ifdef __linux__

namespace {

constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;

std::uintptr_t RoundUp(std::uintptr_t value)
{
  return (value + HugePage - 1) / HugePage * HugePage;
}

}  // namespace

void AdviseHugePages(void* start, std::size_t bytes)
{
  const std::uintptr_t first = RoundUp(reinterpret_cast<std::uintptr_t>(start));
  const std::uintptr_t end =
      (reinterpret_cast<std::uintptr_t>(start) + bytes) / HugePage * HugePage;
  if (end > first) {
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  }
}

#else

void AdviseHugePages(void*, std::size_t) {}

#endif

#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)

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
  AdviseHugePages(reinterpret_cast<void*>(aligned), length);
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
