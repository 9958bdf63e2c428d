#include "colour/memory_pages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace pavona {
namespace {

constexpr std::uintptr_t HugePage = std::uintptr_t(2) << 20;

// Where the blocks are mapped apart they start on a huge page; elsewhere
// (AddressSanitizer, other systems) they are ordinary heap blocks.
bool BlocksAreMappedApart()
{
#if defined(__linux__) && !defined(__SANITIZE_ADDRESS__)
  return true;
#else
  return false;
#endif
}

// Every byte of a block is the caller's, however its size falls against the
// huge pages: a mapping trimmed too far would fault on the last bytes.
TEST(HugePageBlock, EveryByteOfEverySizeIsWritable)
{
  for (const std::size_t size : {std::size_t(1), std::size_t(4096), HugePage - 1, HugePage,
                                 HugePage + 1, 3 * HugePage + 12345}) {
    SCOPED_TRACE(size);
    void* block = AllocateHugePageBlock(size);
    ASSERT_NE(block, nullptr);
    if (BlocksAreMappedApart()) {
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % HugePage, 0u);
    }
    std::memset(block, 0xA5, size);
    const auto* bytes = static_cast<const unsigned char*>(block);
    EXPECT_EQ(bytes[0], 0xA5);
    EXPECT_EQ(bytes[size - 1], 0xA5);
    FreeHugePageBlock(block, size);
  }
}

// Blocks alive at once do not overlap, and freeing one leaves the other whole.
TEST(HugePageBlock, BlocksAliveTogetherKeepTheirOwnBytes)
{
  const std::size_t size = HugePage + 100;
  auto* first = static_cast<unsigned char*>(AllocateHugePageBlock(size));
  auto* second = static_cast<unsigned char*>(AllocateHugePageBlock(size));
  std::memset(first, 1, size);
  std::memset(second, 2, size);
  FreeHugePageBlock(first, size);
  for (const std::size_t at : {std::size_t(0), size / 2, size - 1}) {
    EXPECT_EQ(second[at], 2) << at;
  }
  FreeHugePageBlock(second, size);
}

}  // namespace
}  // namespace pavona
