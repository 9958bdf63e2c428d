#include "colour/colour_adjustment.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "support/ppm_frame.h"

namespace pavona {
namespace {

// A frame with every pixel in one colour.
Picture Flat(std::uint32_t colour)
{
  Picture picture;
  picture.fill(colour);
  return picture;
}

TEST(AdjustColours, WorkedCases)
{
  struct Case {
    const char* name;
    int value;  // the red, green and blue of every source pixel
    ColourAdjustment adjustment;
    int expected;  // of every channel
  };
  const Case cases[] = {
      {"no change", 77, {}, 77},
      {"brightness", 100, {0, 0, 0, 50, 0}, 150},
      {"channel offsets and brightness add", 100, {30, 30, 30, -50, 0}, 80},
      {"contrast -100 flattens to 128", 250, {255, 255, 255, 255, -100}, 128},
      {"(127 - 128) * 50 / 100 truncates to 0", 127, {0, 0, 0, 0, -50}, 128},
      {"(0 - 128) * 99 / 100 = -126.72 truncates to -126", 0, {0, 0, 0, 0, -1}, 2},
      {"(200 - 128) * 150 / 100 = 108", 200, {0, 0, 0, 0, 50}, 236},
      {"(0 - 128) * 50 / 100 = -64", 0, {0, 0, 0, 0, -50}, 64},
      {"contrast 100 doubles the distance from 128", 100, {0, 0, 0, 0, 100}, 72},
      {"clamped at 255", 200, {255, 255, 255, 255, 0}, 255},
      {"clamped at 0", 10, {-255, -255, -255, 0, 0}, 0},
      {"clamped after contrast", 240, {0, 0, 0, 0, 100}, 255},
      {"values beyond the track bars are limited to them", 10, {0, 0, 0, 400, 300}, 255},
      {"a contrast below -100 acts as -100", 10, {0, 0, 0, 0, -500}, 128},
  };
  auto planes = std::make_unique<AdjustedPlanes>();
  for (const Case& row : cases) {
    SCOPED_TRACE(row.name);
    AdjustColours(Flat(MakeColour(row.value, row.value, row.value)), row.adjustment, *planes);
    for (int i : {0, 31999, PixelCount - 1}) {
      ASSERT_EQ(planes->red[i], row.expected);
      ASSERT_EQ(planes->green[i], row.expected);
      ASSERT_EQ(planes->blue[i], row.expected);
    }
  }
}

TEST(AdjustColours, EachOffsetMovesItsOwnPlaneOnly)
{
  auto planes = std::make_unique<AdjustedPlanes>();
  planes->red.fill(0xAB);  // the spare tail after the pixels must stay untouched
  AdjustColours(Flat(MakeColour(10, 20, 30)), {1, 2, 3, 0, 0}, *planes);
  EXPECT_EQ(planes->red[500], 11);
  EXPECT_EQ(planes->green[500], 22);
  EXPECT_EQ(planes->blue[500], 33);
  EXPECT_EQ(planes->red[PixelCount], 0xAB);
  EXPECT_EQ(planes->red[PlaneSize - 1], 0xAB);
}

TEST(AdjustColours, AllZeroLeavesARealPhotoUnchanged)
{
  const Picture photo = testing::ReadPpmFrame("chelsea_frame.ppm");
  auto planes = std::make_unique<AdjustedPlanes>();
  AdjustColours(photo, {}, *planes);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      ASSERT_EQ(ReadAdjustedPixel(*planes, x, y), photo[PixelIndex(x, y)]) << x << ", " << y;
    }
  }
}

// The rule written with floating point and an explicit truncation, for
// every channel value and a spread of settings.
TEST(AdjustColours, MatchesTheRuleForEveryChannelValue)
{
  Picture ramp{};
  for (int i = 0; i < PixelCount; ++i) {
    ramp[i] = MakeColour(i % 256, (i * 7) % 256, 255 - i % 256);
  }
  auto planes = std::make_unique<AdjustedPlanes>();
  const auto rule = [](int v, int offset, int brightness, int contrast) {
    const double t = std::trunc((v + offset + brightness - 128) * (contrast + 100) / 100.0) + 128;
    return int(std::clamp(t, 0.0, 255.0));
  };
  for (const int contrast : {-100, -99, -50, -33, -1, 0, 1, 37, 99, 100}) {
    for (const int brightness : {-255, -64, 0, 13, 255}) {
      const ColourAdjustment adjustment{-7, 90, -200, brightness, contrast};
      AdjustColours(ramp, adjustment, *planes);
      for (int i = 0; i < 256 * 3; ++i) {
        ASSERT_EQ(planes->red[i], rule(RedOf(ramp[i]), -7, brightness, contrast));
        ASSERT_EQ(planes->green[i], rule(GreenOf(ramp[i]), 90, brightness, contrast));
        ASSERT_EQ(planes->blue[i], rule(BlueOf(ramp[i]), -200, brightness, contrast));
      }
    }
  }
}

}  // namespace
}  // namespace pavona
