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
  // "Near": as in a photo's cell, each pixel is near one of three colours
  // and far from the rest, so most pairs are passed over by their bounds.
  // "Only near": no colour but its near one serves a pixel better than its
  // base, so each pair's bound is its very error and ties meet the bound.
  enum class Kind { Random, Near, OnlyNear };
  const struct {
    const char* name;
    std::uint32_t largest;
    std::size_t pixels;
    Kind kind;
  } rows[] = {{"cell, ties", 3, 32, Kind::Random},
              {"cell, wide", 100000, 32, Kind::Random},
              {"span, ties", 3, 4, Kind::Random},
              {"cell, all equal", 0, 32, Kind::Random},
              {"cell, near, ties", 4, 32, Kind::Near},
              {"cell, near, wide", 3000, 32, Kind::Near},
              {"cell, only near, ties", 2, 32, Kind::OnlyNear}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const std::uint32_t largest = row.largest;
    for (int trial = 0; trial < 300; ++trial) {
      std::vector<ColourErrors> pixels(row.pixels);
      std::vector<std::uint32_t> base(row.pixels);
      const std::uint32_t near[3] = {std::uint32_t(random() % 16), std::uint32_t(random() % 16),
                                     std::uint32_t(random() % 16)};
      for (std::size_t k = 0; k < row.pixels; ++k) {
        const std::uint32_t far = row.kind == Kind::Random ? 0 : 2 * largest + 1;
        for (std::uint32_t& error : pixels[k]) {
          error = far + random() % (largest + 1);
        }
        // The base is sometimes no better than any colour.
        base[k] = row.kind == Kind::OnlyNear ? largest + 1 + random() % (largest + 1)
                                             : random() % (far + largest + 2);
        if (row.kind != Kind::Random) {
          pixels[k][near[random() % 3]] = random() % (largest + 1);
        }
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
