#include "bench/picture_measures.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pavona::bench {
namespace {

struct Ciede2000Row {
  const char* name;
  Lab p;
  Lab q;
  double expected;
};

// Pairs from the table of Sharma, Wu and Dalal (2005), "The CIEDE2000
// color-difference formula: implementation notes, supplementary test data
// and mathematical observations", chosen for the branches they reach.
const Ciede2000Row SharmaPairs[] = {
    {"1 blue, a' rescaled", {50, 2.6772, -79.7751}, {50, 0, -82.7485}, 2.0425},
    {"4 blue, hue rotation", {50, -1.3802, -84.2814}, {50, 0, -82.7485}, 1.0000},
    {"7 from grey", {50, 0, 0}, {50, -1, 2}, 2.3669},
    {"8 to grey", {50, -1, 2}, {50, 0, 0}, 2.3669},
    {"13 hues 180 apart", {50, 2.49, -0.001}, {50, -2.49, 0.0009}, 7.1792},
    {"14 hues 180 apart, other side", {50, 2.49, -0.001}, {50, -2.49, 0.001}, 7.1792},
    {"15 mean hue wraps past 360", {50, 2.49, -0.001}, {50, -2.49, 0.0011}, 7.2195},
    {"20 large difference", {50, 2.5, 0}, {73, 25, -18}, 27.1492},
    {"22 large hue difference", {50, 2.5, 0}, {56, -27, -3}, 31.9030},
    {"28 greens", {60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    {"30 near grey", {61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
    {"35 dark blue", {22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
};

TEST(Ciede2000, MatchesSharmaTestPairsBothWays)
{
  for (const Ciede2000Row& row : SharmaPairs) {
    EXPECT_NEAR(Ciede2000(row.p, row.q), row.expected, 5e-5) << row.name;
    EXPECT_NEAR(Ciede2000(row.q, row.p), row.expected, 5e-5) << row.name << " reversed";
  }
}

Picture Gradient()
{
  Picture picture;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      picture[PixelIndex(x, y)] = MakeColour(x * 255 / 319, y * 255 / 199, (x + y) % 256);
    }
  }
  return picture;
}

// The area counts and nothing beyond the reach of the blurs (the widest, in
// linear light, reaches 5 pixels; the blur and window of SSIM 3 + 5).
TEST(PictureMeasures, CountOnlyTheShownArea)
{
  const Picture frame = Gradient();
  Picture result = frame;
  // Black columns 0..15 and rows 192..199, as a viewer hides them.
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      if (x < 16 || y >= 192) {
        result[PixelIndex(x, y)] = 0;
      }
    }
  }
  const FrameArea shown{24, 0, 296, 184};
  EXPECT_DOUBLE_EQ(LumaSsim(frame, result, shown, 1.0), 1.0);
  EXPECT_DOUBLE_EQ(MeasureColourErrors(frame, result, shown).ciede2000, 0.0);
  EXPECT_LT(LumaSsim(frame, result, FrameArea{}, 1.0), 0.99);
  EXPECT_GT(MeasureColourErrors(frame, result, FrameArea{}).ciede2000, 1.0);
}

TEST(PictureMeasures, LighterResultRaisesLightnessAndColourDifference)
{
  const Picture frame = Gradient();
  Picture lighter = frame;
  for (std::uint32_t& colour : lighter) {
    colour = MakeColour(std::min(255, RedOf(colour) + 20), std::min(255, GreenOf(colour) + 20),
                        std::min(255, BlueOf(colour) + 20));
  }
  const ColourErrors errors = MeasureColourErrors(frame, lighter, FrameArea{});
  EXPECT_GT(errors.lightness, 3.0);
  EXPECT_DOUBLE_EQ(errors.absoluteLightness, errors.lightness);
  EXPECT_GT(errors.ciede2000, 3.0);
  const PictureMeasures same = MeasurePicture(frame, frame, FrameArea{});
  const PictureMeasures apart = MeasurePicture(frame, lighter, FrameArea{});
  EXPECT_GT(same.psnr, apart.psnr);
  EXPECT_GT(same.ssim, apart.ssim);
  EXPECT_LT(same.ciede2000, apart.ciede2000);
}

}  // namespace
}  // namespace pavona::bench
