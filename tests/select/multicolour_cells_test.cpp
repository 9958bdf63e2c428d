#include "select/multicolour_cells.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace pavona {
namespace {

// Every pair in order, the first of least error kept: what the pruned search
// must give.
McPair PlainLeastErrorPair(const std::vector<ColourErrors>& pixels,
                           const std::vector<std::uint32_t>& base)
{
  McPair best{0, 0, UINT32_MAX};
  for (int high = 0; high < 15; ++high) {
    for (int low = high + 1; low < 16; ++low) {
      std::uint32_t total = 0;
      for (std::size_t k = 0; k < pixels.size(); ++k) {
        total += std::min({base[k], pixels[k][high], pixels[k][low]});
      }
      if (total < best.error) {
        best = {std::uint8_t(high), std::uint8_t(low), total};
      }
    }
  }
  return best;
}

// Cells and spans of random errors, from a range small enough for many
// pairs to tie, and from a wide one.
TEST(LeastErrorPair, SameAsEveryPairInOrder)
{
  std::mt19937 random(5);
  const struct {
    const char* name;
    std::uint32_t largest;
    std::size_t pixels;
  } rows[] = {{"cell, ties", 3, 32},
              {"cell, wide", 100000, 32},
              {"span, ties", 3, 4},
              {"cell, all equal", 0, 32}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    for (int trial = 0; trial < 300; ++trial) {
      std::vector<ColourErrors> pixels(row.pixels);
      std::vector<std::uint32_t> base(row.pixels);
      for (std::size_t k = 0; k < row.pixels; ++k) {
        for (std::uint32_t& error : pixels[k]) {
          error = random() % (row.largest + 1);
        }
        base[k] = random() % (row.largest + 2);  // sometimes no better than any colour
      }
      std::vector<const ColourErrors*> pointers;
      for (const ColourErrors& errors : pixels) {
        pointers.push_back(&errors);
      }
      const McPair fast = LeastErrorPair(pointers, base);
      const McPair plain = PlainLeastErrorPair(pixels, base);
      ASSERT_EQ(fast.high, plain.high) << trial;
      ASSERT_EQ(fast.low, plain.low) << trial;
      ASSERT_EQ(fast.error, plain.error) << trial;
    }
  }
}

}  // namespace
}  // namespace pavona
