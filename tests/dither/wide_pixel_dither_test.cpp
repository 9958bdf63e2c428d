// The multicolour modes without interlace dither pixels two hires pixels wide.
#include <gtest/gtest.h>

#include "colour/mix_palette.h"
#include "dither/dither_fixtures.h"
#include "dither/dither_picture.h"
#include "dither/random_dither.h"

namespace pavona {
namespace {

using namespace testing;

MixTable PureTable()
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb,
                  GraphicMode::Multicolour);
  return table;
}

Picture DitherWide(AdjustedPlanes& planes, const DitherSettings& settings,
                   std::uint32_t& randomState)
{
  SilentProgress progress;
  DitherPicture(planes, PureTable(), Measure::Perceptual, GraphicMode::Multicolour, settings,
                randomState, progress);
  return PictureFromPlanes(planes);
}

// Every method gives pairs of equal pure colours; the random ones draw once
// a wide pixel, so half as often as in hires.
TEST(DitherWidePixels, EveryMethodGivesPairsOfOnePureColour)
{
  const MixTable table = PureTable();
  for (const DitherMethod method :
       {DitherMethod::None, DitherMethod::Ordered2x2, DitherMethod::Ordered8x8,
        DitherMethod::FloydSteinberg, DitherMethod::Custom, DitherMethod::Random,
        DitherMethod::Ordered4x4Balanced, DitherMethod::Atkinson, DitherMethod::SierraLite,
        DitherMethod::JarvisJudiceNinke, DitherMethod::Stucki}) {
    for (const bool serpentine : {false, true}) {
      SCOPED_TRACE(int(method) * 2 + serpentine);
      auto planes = FramePlanes("coffee_frame.ppm");
      std::uint32_t randomState = 1;
      const Picture dithered = DitherWide(*planes, Method(method, serpentine), randomState);
      for (int y = 0; y < PictureHeight; ++y) {
        for (int x = 0; x < PictureWidth; x += 2) {
          const std::uint32_t colour = dithered[PixelIndex(x, y)];
          ASSERT_EQ(dithered[PixelIndex(x + 1, y)], colour) << x << "," << y;
          ASSERT_GE(FindMixIndex(table, colour, 16), 0) << x << "," << y;
        }
      }
      if (method == DitherMethod::Random) {
        std::uint32_t expected = 1;
        for (int draw = 0; draw < PixelCount / 2 * 3; ++draw) {
          NextRandomDraw(expected);
        }
        EXPECT_EQ(randomState, expected);
      }
    }
  }
}

// A pair is dithered as the average of its two pixels, and the diffusion
// keeps a flat area's brightness: black and white pairs come out as the
// greys between them, on average the grey of their mean.
TEST(DitherWidePixels, PairsAreAveragedAndDiffusionKeepsTheMean)
{
  for (const DitherMethod method :
       {DitherMethod::None, DitherMethod::FloydSteinberg, DitherMethod::Custom}) {
    SCOPED_TRACE(int(method));
    auto planes = FlatPlanes(0, 0);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 1; x < PictureWidth; x += 2) {
        StoreAdjustedPixel(*planes, x, y, 0xC8C8C8);  // pairs of black and 200
      }
    }
    std::uint32_t randomState = 1;
    const Picture dithered = DitherWide(*planes, Method(method), randomState);
    long sum = 0;
    int black = 0;
    for (const std::uint32_t colour : dithered) {
      sum += GreenOf(colour);
      black += colour == 0;
    }
    const double mean = double(sum) / PixelCount;
    if (method == DitherMethod::None) {
      EXPECT_EQ(black, 0) << "the pair's average is a mid grey, not black";
    } else {
      EXPECT_NEAR(mean, 100, 3);
    }
  }
}

}  // namespace
}  // namespace pavona
