#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "dither/dither_fixtures.h"
#include "dither/random_dither.h"

namespace pavona {
namespace {

using namespace testing;

// Greys 120..255: a grey in that range matches itself.
const MixTable& BrightGreys()
{
  static const MixTable table = GreyRampTable(120);
  return table;
}

// Greys 0..135.
const MixTable& DarkGreys()
{
  static const MixTable table = GreyRampTable(0);
  return table;
}

std::uint32_t PixelAt(const AdjustedPlanes& planes, int x, int y)
{
  return ReadAdjustedPixel(planes, x, y);
}

DitherSettings Ordered(DitherMethod method, int valueAmp, bool altY = false, bool flip = false)
{
  DitherSettings settings = Method(method);
  settings.valueAmp = valueAmp;
  settings.altYDither = altY;
  settings.flipDither = flip;
  return settings;
}

TEST(OrderedDither, TwoByTwoShiftsByPosition)
{
  // Grey 200; shifts at (x, y) = (0, 0), (0, 1), (1, 0), (1, 1) with
  // "Value Amp" 2 (thresholds 1 3 / 4 2 doubled, looked up with x as the row).
  const struct {
    const char* name;
    bool altY, flip;
    int base;
    std::array<int, 4> expected;
  } rows[] = {
      {"darkening", false, false, 200, {198, 194, 192, 196}},
      {"flipped", false, true, 200, {198, 192, 194, 196}},
      // Even lines brighten, odd lines darken.
      {"Alt Y Dither", true, false, 200, {202, 194, 208, 196}},
      // Flipped, x decides the line parity.
      {"Alt Y Dither flipped", true, true, 200, {202, 208, 194, 196}},
      {"brightening stops at 255", true, false, 250, {252, 244, 255, 246}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    auto planes = FlatPlanes(row.base, 0);
    Dither(*planes, BrightGreys(), Ordered(DitherMethod::Ordered2x2, 2, row.altY, row.flip));
    for (int y : {0, 1, 2, 7, 198, 199}) {
      for (int x : {0, 1, 2, 3, 318, 319}) {
        EXPECT_EQ(PixelAt(*planes, x, y), Grey(row.expected[(x % 2) * 2 + y % 2]))
            << "(" << x << ", " << y << ")";
      }
    }
  }
}

// The larger matrices, pinned value by value, with "Value Amp" 1 (the
// thresholds as they are), 3 (times 4) and 4 (times 8, which darkens most
// thresholds of the 8x8 matrix to 0).
TEST(OrderedDither, MatricesAndAmplitudes)
{
  const int matrix3[3][3] = {{9, 7, 8}, {6, 1, 2}, {5, 4, 3}};
  const int matrix4[4][4] = {{1, 9, 3, 11}, {13, 5, 15, 7}, {4, 12, 2, 10}, {16, 8, 14, 6}};
  const int matrix8[8][8] = {
      {0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
      {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
      {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
      {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21},
  };
  auto threshold = [&](DitherMethod method, int row, int column) {
    switch (method) {
      case DitherMethod::Ordered3x3:
        return matrix3[row % 3][column % 3];
      case DitherMethod::Ordered4x4:
        return matrix4[row % 4][column % 4];
      default:
        return matrix8[row % 8][column % 8];
    }
  };
  const struct {
    DitherMethod method;
    int valueAmp, factor;
  } rows[] = {{DitherMethod::Ordered3x3, 1, 1},
              {DitherMethod::Ordered4x4, 1, 1},
              {DitherMethod::Ordered8x8, 1, 1},
              {DitherMethod::Ordered8x8, 3, 4},
              {DitherMethod::Ordered8x8, 4, 8}};
  for (const auto& [method, valueAmp, factor] : rows) {
    SCOPED_TRACE("matrix " + std::to_string(int(method)) + ", Value Amp " +
                 std::to_string(valueAmp));
    auto planes = FlatPlanes(135, 0);
    Dither(*planes, DarkGreys(), Ordered(method, valueAmp));
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        const int expected = std::max(135 - factor * threshold(method, x, y), 0);
        ASSERT_EQ(PixelAt(*planes, x, y), Grey(expected)) << "(" << x << ", " << y << ")";
      }
    }
    EXPECT_EQ(PixelAt(*planes, 319, 199),
              Grey(std::max(135 - factor * threshold(method, 319, 199), 0)));
  }
}

// Typed amplitudes outside 1..4 act like the nearer end.
TEST(OrderedDither, AmplitudeOutsideTheSpinnerRange)
{
  for (DitherMethod method : {DitherMethod::Ordered2x2, DitherMethod::Ordered8x8}) {
    auto low = FlatPlanes(135, 0);
    auto high = FlatPlanes(135, 0);
    Dither(*low, DarkGreys(), Ordered(method, 1));
    Dither(*high, DarkGreys(), Ordered(method, 4));
    for (int valueAmp : {0, -3, -2147483647 - 1, 5, 1000, 2147483647}) {
      SCOPED_TRACE("Value Amp " + std::to_string(valueAmp));
      auto planes = FlatPlanes(135, 0);
      Dither(*planes, DarkGreys(), Ordered(method, valueAmp));
      EXPECT_TRUE(SamePlanes(*planes, valueAmp < 1 ? *low : *high));
    }
  }
}

// The generator written out in 64-bit arithmetic, reduced modulo 2^32.
struct Generator {
  std::uint64_t state = 1;
  int Next()
  {
    state = (state * 22695477 + 1) % 4294967296;
    return int(state / 65536 % 32768);
  }
};

TEST(RandomDither, GeneratorSequence)
{
  // From state 1: 1 * 22695477 + 1 = 22695478, and 22695478 / 65536 = 346.
  std::uint32_t state = 1;
  EXPECT_EQ(NextRandomDraw(state), 346);
  EXPECT_EQ(state, 22695478u);
  EXPECT_EQ(NextRandomDraw(state), 130);
  EXPECT_EQ(NextRandomDraw(state), 10982);
  Generator reference;
  state = 1;
  for (int i = 0; i < 100000; ++i) {
    ASSERT_EQ(NextRandomDraw(state), reference.Next()) << "draw " << i;
  }
  EXPECT_EQ(state, reference.state);
}

DitherSettings Random(int strength, bool separate)
{
  DitherSettings settings = Method(DitherMethod::Random);
  settings.strength = strength;
  settings.separateRgb = separate;
  return settings;
}

// Grey 150 plus noise from a continuing generator, matched among greys: one
// draw per pixel keeps it grey; three draws make it the grey of its median
// channel. Also checks that the caller's state moved on by exactly the draws
// used.
void ExpectNoise(const AdjustedPlanes& planes, int base, int strength, bool separate,
                 Generator& generator, std::uint32_t stateAfter)
{
  auto noise = [&] {
    const int draw = generator.Next();
    return strength > 0 ? draw % strength : 0;
  };
  int mismatches = 0;
  for (int offset = 0; offset < PixelCount; ++offset) {
    int value;
    if (separate) {
      std::array<int, 3> channels;
      for (int& channel : channels) {
        channel = std::min(base + noise(), 255);
      }
      std::sort(channels.begin(), channels.end());
      value = channels[1];
    } else {
      value = std::min(base + noise(), 255);
    }
    if (BytesAt(planes, offset) != Grey(value) && ++mismatches <= 3) {
      ADD_FAILURE() << "offset " << offset << ": " << std::hex << BytesAt(planes, offset);
    }
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_EQ(stateAfter, generator.state);
}

TEST(RandomDither, NoiseFromTheSequence)
{
  // First draws 346, 130, 10982, 1090 modulo 45: 31, 40, 2, 10. One draw per
  // pixel: 181, 190, 152, 160. Three per pixel: (181, 190, 152) and
  // (160, 151, 157), medians 181 and 157.
  {
    auto planes = FlatPlanes(150, 0);
    Dither(*planes, BrightGreys(), Random(45, false));
    EXPECT_EQ(PixelAt(*planes, 0, 0), Grey(181));
    EXPECT_EQ(PixelAt(*planes, 1, 0), Grey(190));
    EXPECT_EQ(PixelAt(*planes, 2, 0), Grey(152));
    EXPECT_EQ(PixelAt(*planes, 3, 0), Grey(160));
    planes = FlatPlanes(150, 0);
    Dither(*planes, BrightGreys(), Random(45, true));
    EXPECT_EQ(PixelAt(*planes, 0, 0), Grey(181));
    EXPECT_EQ(PixelAt(*planes, 1, 0), Grey(157));
  }
  // Strengths 0 and below add nothing but draw as often as any other; 1 adds
  // nothing; a strength beyond the spinner is used as typed.
  const struct {
    int base, strength;
  } rows[] = {{150, 45}, {150, 1}, {150, 0}, {150, -7}, {150, 100000}, {240, 45}};
  for (bool separate : {false, true}) {
    for (const auto& [base, strength] : rows) {
      SCOPED_TRACE("base " + std::to_string(base) + ", strength " + std::to_string(strength) +
                   (separate ? ", Seperate RGB" : ""));
      auto planes = FlatPlanes(base, 0);
      std::uint32_t state = 1;
      SilentProgress progress;
      DitherPicture(*planes, BrightGreys(), Measure::RgbDistance, GraphicMode::HiresInterlaced,
                    Random(strength, separate), state, progress);
      Generator generator;
      ExpectNoise(*planes, base, strength, separate, generator, state);
    }
  }
}

TEST(RandomDither, StateContinuesAcrossConversions)
{
  std::uint32_t state = 1;
  Generator generator;
  SilentProgress progress;
  for (bool separate : {false, true, false}) {
    auto planes = FlatPlanes(150, 0);
    DitherPicture(*planes, BrightGreys(), Measure::RgbDistance, GraphicMode::HiresFliInterlace,
                  Random(45, separate), state, progress);
    ExpectNoise(*planes, 150, 45, separate, generator, state);
  }
  // Other methods leave the generator alone.
  const std::uint32_t before = state;
  auto planes = FlatPlanes(150, 0);
  DitherPicture(*planes, BrightGreys(), Measure::RgbDistance, GraphicMode::HiresFliInterlace,
                Method(DitherMethod::Custom), state, progress);
  EXPECT_EQ(state, before);
}

}  // namespace
}  // namespace pavona
