#include <gtest/gtest.h>

#include <vector>

#include "colour/picture.h"
#include "dither/dither_fixtures.h"

namespace pavona {
namespace {

using namespace testing;

struct At {
  int x, y;
  std::uint32_t colour;
};

// Every pixel of the frame is the background except the listed ones.
void ExpectPicture(const AdjustedPlanes& planes, std::uint32_t background,
                   const std::vector<At>& exceptions)
{
  Picture expected;
  expected.fill(background);
  for (const At& at : exceptions) {
    expected[PixelIndex(at.x, at.y)] = at.colour;
  }
  int mismatches = 0;
  for (int offset = 0; offset < PixelCount; ++offset) {
    const std::uint32_t got = BytesAt(planes, offset);
    if (got != expected[offset] && ++mismatches <= 5) {
      ADD_FAILURE() << "pixel (" << offset % PictureWidth << ", " << offset / PictureWidth
                    << ") is " << std::hex << got << ", expected " << expected[offset];
    }
  }
  EXPECT_EQ(mismatches, 0);
}

const struct Config {
  const char* name;
  DitherMethod method;
  bool serpentine;
} FloydSteinberg{"Floyd Steinberg", DitherMethod::FloydSteinberg, false},
    FloydSteinbergSerpentine{"Floyd Steinberg serpentine", DitherMethod::FloydSteinberg, true},
    Custom{"Custom", DitherMethod::Custom, false},
    CustomSerpentine{"Custom serpentine", DitherMethod::Custom, true};

// A flat picture 110 + e between the mixes 110 and 110 + 2e goes to 110 (the
// lower slot wins the tie) with error e; any of it passed on would tip the
// neighbour over to 110 + 2e.
TEST(ErrorDiffusion, ErrorsSmallerThanTheDivisorAreDropped)
{
  const struct {
    Config config;
    int error;
  } dropped[] = {{FloydSteinberg, -15},
                 {FloydSteinberg, -1},
                 {FloydSteinberg, 1},
                 {FloydSteinberg, 15},
                 {FloydSteinbergSerpentine, 15},
                 {FloydSteinbergSerpentine, -15},
                 {Custom, 3},
                 {Custom, -3},
                 {CustomSerpentine, 3},
                 {CustomSerpentine, -3}};
  for (const auto& [config, error] : dropped) {
    SCOPED_TRACE(std::string(config.name) + ", error " + std::to_string(error));
    MixTable table = GreyRampTable(0);
    for (int slot = 0; slot < MixColourCount; ++slot) {
      SetSlot(table, slot, Grey(slot == 1 ? 110 + 2 * error : 110));
    }
    auto planes = FlatPlanes(110 + error, 77);
    Dither(*planes, table, Method(config.method, config.serpentine));
    ExpectPicture(*planes, Grey(110), {});
    EXPECT_EQ(BytesAt(*planes, 64500), Grey(77)) << "nothing reaches the spare bytes";
  }
  // One step more and a share of 1 moves on: 126 + 7 = 133 goes to 142 in
  // Floyd-Steinberg; in Custom green and blue 114 + 2 = 116 make the pixel
  // (114, 116, 116), nearer 118 than 110.
  const struct {
    Config config;
    int error;
    std::uint32_t second;
  } passed[] = {{FloydSteinberg, 16, Grey(142)}, {Custom, 4, Grey(118)}};
  for (const auto& [config, error, second] : passed) {
    SCOPED_TRACE(std::string(config.name) + ", error " + std::to_string(error));
    MixTable table = GreyRampTable(0);
    for (int slot = 0; slot < MixColourCount; ++slot) {
      SetSlot(table, slot, Grey(slot == 1 ? 110 + 2 * error : 110));
    }
    auto planes = FlatPlanes(110 + error, 77);
    Dither(*planes, table, Method(config.method, config.serpentine));
    EXPECT_EQ(BytesAt(*planes, PixelIndex(0, 0)), Grey(110));
    EXPECT_EQ(BytesAt(*planes, PixelIndex(1, 0)), second);
  }
}

// The last pixel, (319, 199), is the only one off the mix colours: errors
// -17, +31, +5. Its neighbours beyond the frame are spare bytes, which keep
// what they receive, so each tap and its share can be read off directly.
// Floyd-Steinberg shares: -17/16 = -1, 31/16 = 1, 5/16 = 0; Custom: -4, 7, 1.
TEST(ErrorDiffusion, EachTapReceivesItsShare)
{
  const struct {
    Config config;
    std::array<std::uint32_t, 6> spare;  // bytes at 64000, 64001, 64317 .. 64320
  } rows[] = {
      // (+1, 0) 7q, (-1, +1) 3q, (0, +1) 5q, (+1, +1) 1q.
      {FloydSteinberg,
       {MakeColour(93, 107, 100), Grey(100), Grey(100), MakeColour(97, 103, 100),
        MakeColour(95, 105, 100), MakeColour(99, 101, 100)}},
      // Red 2q two pixels on, green and blue 2q one pixel on; (0, +1) and
      // (-1, +1) 1q.
      {Custom,
       {MakeColour(100, 114, 102), MakeColour(92, 100, 100), Grey(100), MakeColour(96, 107, 101),
        MakeColour(96, 107, 101), Grey(100)}},
      // Row 199 runs right to left: (+1, +1) 3q, (0, +1) 5q, (-1, +1) 1q.
      {FloydSteinbergSerpentine,
       {Grey(100), Grey(100), Grey(100), MakeColour(99, 101, 100), MakeColour(95, 105, 100),
        MakeColour(97, 103, 100)}},
      // Custom right to left: (0, +1) and (+1, +1) 1q.
      {CustomSerpentine,
       {Grey(100), Grey(100), Grey(100), Grey(100), MakeColour(96, 107, 101),
        MakeColour(96, 107, 101)}},
  };
  const MixTable table = LevelGridTable({0, 64, 128, 192, 255});
  for (const auto& [config, spare] : rows) {
    SCOPED_TRACE(config.name);
    auto planes = FlatPlanes(128, 100);
    StoreAdjustedPixel(*planes, 319, 199, MakeColour(111, 159, 133));
    if (config.method == DitherMethod::Custom && config.serpentine) {
      // The pixels to the left receive red -8 and green and blue +14, +2;
      // start them that much off 128 so that they land on it and pass
      // nothing on themselves.
      StoreAdjustedPixel(*planes, 317, 199, MakeColour(136, 128, 128));
      StoreAdjustedPixel(*planes, 318, 199, MakeColour(128, 114, 126));
    }
    Dither(*planes, table, Method(config.method, config.serpentine));
    ExpectPicture(*planes, Grey(128), {});
    const int offsets[] = {64000, 64001, 64317, 64318, 64319, 64320};
    for (int i = 0; i < 6; ++i) {
      EXPECT_EQ(BytesAt(*planes, offsets[i]), spare[i])
          << std::hex << "spare byte " << std::dec << offsets[i];
    }
  }
}

// Two pixels push the same spare bytes past both ends; every single update is
// clamped, so a later share counts from 255 or 0, not from the unclamped sum.
TEST(ErrorDiffusion, EveryUpdateIsClampedOnItsOwn)
{
  const MixTable table = LevelGridTable({0, 1, 2, 3, 255});
  auto planes = FlatPlanes(3, 100);
  std::fill(planes->red.begin() + PixelCount, planes->red.end(), 250);
  std::fill(planes->blue.begin() + PixelCount, planes->blue.end(), 5);
  // (318, 199): red 129 ties 3 and 255 and takes 3 (+126, share 7); blue 130
  // goes to 255 (-125, share -7). (319, 199) then holds red 90 + 49 = 139,
  // which goes to 255 (-116, share -7), and blue 170 - 49 = 121, which goes
  // to 3 (+118, share 7).
  StoreAdjustedPixel(*planes, 318, 199, MakeColour(129, 3, 130));
  StoreAdjustedPixel(*planes, 319, 199, MakeColour(90, 3, 170));
  Dither(*planes, table, Method(DitherMethod::FloydSteinberg, false));
  EXPECT_EQ(BytesAt(*planes, PixelIndex(318, 199)), MakeColour(3, 3, 255));
  EXPECT_EQ(BytesAt(*planes, PixelIndex(319, 199)), MakeColour(255, 3, 3));
  // Red from 250: 64318 +35 (255) -21; 64319 +7 (255) -35. Blue from 5:
  // 64318 -35 (0) +21; 64319 -7 (0) +35.
  EXPECT_EQ(BytesAt(*planes, 64317), MakeColour(255, 100, 0));
  EXPECT_EQ(BytesAt(*planes, 64318), MakeColour(234, 100, 21));
  EXPECT_EQ(BytesAt(*planes, 64319), MakeColour(220, 100, 35));
  EXPECT_EQ(BytesAt(*planes, 64320), MakeColour(243, 100, 12));
  EXPECT_EQ(BytesAt(*planes, 64000), MakeColour(201, 100, 54));
}

// Mixes at 50, 100 and 105 (in every channel) on a background of 100: a
// source pixel 66 goes to 50 with error 16 (Floyd-Steinberg share 1, Custom
// share 4), and the neighbours it reaches land on 105 (from 103, 104, 105,
// 107 or 108) or stay on 100 (from 101), each within the other kernel's
// divisor too, so nothing spreads any further.
const MixTable& DirectionTable()
{
  static const MixTable table = LevelGridTable({0, 50, 100, 105, 255});
  return table;
}

constexpr std::uint32_t Source = Grey(66);
constexpr std::uint32_t GreenBlueUp = MakeColour(100, 105, 105);
constexpr std::uint32_t RedUp = MakeColour(105, 100, 100);

TEST(ErrorDiffusion, ErrorFlowsPastTheRowEnds)
{
  const struct {
    const char* name;
    Config config;
    int x, y;
    std::vector<At> expected;
  } rows[] = {
      {"column 319 into the next row",
       FloydSteinberg,
       319,
       10,
       {{319, 10, Grey(50)}, {0, 11, Grey(105)}, {318, 11, Grey(105)}, {319, 11, Grey(105)}}},
      {"column 319, red two on",
       Custom,
       319,
       10,
       {{319, 10, Grey(50)},
        {0, 11, GreenBlueUp},
        {1, 11, RedUp},
        {318, 11, Grey(105)},
        {319, 11, Grey(105)}}},
      // Down-left of column 0 is offset 319: the end of the same row.
      {"column 0 of row 0",
       FloydSteinberg,
       0,
       0,
       {{0, 0, Grey(50)}, {1, 0, Grey(105)}, {319, 0, Grey(105)}, {0, 1, Grey(105)}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.config.name) + ": " + row.name);
    auto planes = FlatPlanes(100, 0);
    StoreAdjustedPixel(*planes, row.x, row.y, Source);
    Dither(*planes, DirectionTable(), Method(row.config.method, row.config.serpentine));
    ExpectPicture(*planes, Grey(100), row.expected);
  }
}

TEST(ErrorDiffusion, SerpentineOrderRunsOddRowsRightToLeft)
{
  enum Kernel { FloydSteinbergRight, FloydSteinbergLeft, CustomRight, CustomLeft };
  // Where a source at (160, y) leaves its marks, by kernel.
  auto marks = [](Kernel kernel, int y) -> std::vector<At> {
    switch (kernel) {
      case FloydSteinbergRight:
        return {{160, y, Grey(50)},
                {161, y, Grey(105)},
                {159, y + 1, Grey(105)},
                {160, y + 1, Grey(105)}};
      case FloydSteinbergLeft:
        return {{160, y, Grey(50)},
                {159, y, Grey(105)},
                {161, y + 1, Grey(105)},
                {160, y + 1, Grey(105)}};
      case CustomRight:
        return {{160, y, Grey(50)},
                {161, y, GreenBlueUp},
                {162, y, RedUp},
                {159, y + 1, Grey(105)},
                {160, y + 1, Grey(105)}};
      case CustomLeft:
        break;
    }
    return {{160, y, Grey(50)},
            {159, y, GreenBlueUp},
            {158, y, RedUp},
            {160, y + 1, Grey(105)},
            {161, y + 1, Grey(105)}};
  };
  const struct {
    Config config;
    Kernel even, odd;
  } rows[] = {{FloydSteinberg, FloydSteinbergRight, FloydSteinbergRight},
              {FloydSteinbergSerpentine, FloydSteinbergRight, FloydSteinbergLeft},
              {Custom, CustomRight, CustomRight},
              {CustomSerpentine, FloydSteinbergRight, CustomLeft}};
  for (const auto& [config, even, odd] : rows) {
    for (int y : {0, 1, 2, 3, 196, 197}) {
      SCOPED_TRACE(std::string(config.name) + ", row " + std::to_string(y));
      auto planes = FlatPlanes(100, 0);
      StoreAdjustedPixel(*planes, 160, y, Source);
      Dither(*planes, DirectionTable(), Method(config.method, config.serpentine));
      ExpectPicture(*planes, Grey(100), marks(y % 2 == 0 ? even : odd, y));
    }
  }
}

// Column 0 of a right-to-left row takes its mix colour but passes nothing on:
// its neighbours (-1, 0) and (-1, +1) are column 319 of rows already final.
TEST(ErrorDiffusion, OddRowColumnZeroKeepsItsError)
{
  for (const Config& config : {FloydSteinbergSerpentine, CustomSerpentine}) {
    SCOPED_TRACE(config.name);
    auto planes = FlatPlanes(100, 0);
    StoreAdjustedPixel(*planes, 0, 5, Source);
    Dither(*planes, DirectionTable(), Method(config.method, config.serpentine));
    ExpectPicture(*planes, Grey(100), {{0, 5, Grey(50)}});
  }
}

// Under "'Y' Brightness" the grey 98 (luma 100.18) goes to the grey 100 of
// slot 1 (Y 101), an error of -2 that no kernel passes on; but the grey 100
// itself (luma 101.9) lies less than 1 below slot 0's Y 102, so only a
// second matching pass turns it into slot 0's colour.
TEST(ErrorDiffusion, CustomSerpentineEndsWithAMatchingPass)
{
  MixTable table;
  for (int slot = 0; slot < MixColourCount; ++slot) {
    table.colour[slot] = slot == 1 ? Grey(100) : Grey(7);
    table.y[slot] = slot == 1 ? 101 : 102;
  }
  const struct {
    Config config;
    std::uint32_t expected;
  } rows[] = {
      {CustomSerpentine, Grey(7)}, {Custom, Grey(100)}, {FloydSteinbergSerpentine, Grey(100)}};
  for (const auto& [config, expected] : rows) {
    SCOPED_TRACE(config.name);
    auto planes = FlatPlanes(98, 0);
    Dither(*planes, table, Method(config.method, config.serpentine), Measure::Brightness);
    ExpectPicture(*planes, expected, {});
  }
}

}  // namespace
}  // namespace pavona
