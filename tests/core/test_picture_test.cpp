#include "core/test_picture.h"

#include <gtest/gtest.h>

#include <set>

namespace pavona {
namespace {

TEST(TestPicture, HoldsTheDesignedBarsRampAndPatternsInRedGreenBluePlanes)
{
  const TestPicturePlanes& planes = TestPicture();
  const Picture frame = TestPictureFrame();
  // Plane layout: red plane, then green, then blue, 64000 bytes each. Yellow
  // (red and green full, no blue) would show a plane mix-up.
  const int yellow = PixelIndex(60, 180);
  EXPECT_EQ(planes[yellow], 255);
  EXPECT_EQ(planes[PixelCount + yellow], 255);
  EXPECT_EQ(planes[2 * PixelCount + yellow], 0);

  // Saturated bars of 40 pixels in rows 176..187, the same at a quarter of
  // full strength in rows 188..193 (black there is a dark grey).
  const std::uint32_t bars[8] = {0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00,
                                 0xFF00FF, 0xFF0000, 0x0000FF, 0x000000};
  const std::uint32_t darkBars[8] = {0x404040, 0x404000, 0x004040, 0x004000,
                                     0x400040, 0x400000, 0x000040, 0x202020};
  for (int bar = 0; bar < 8; ++bar) {
    for (const int x : {bar * 40, bar * 40 + 39}) {
      EXPECT_EQ(frame[PixelIndex(x, 176)], bars[bar]) << x;
      EXPECT_EQ(frame[PixelIndex(x, 187)], bars[bar]) << x;
      EXPECT_EQ(frame[PixelIndex(x, 188)], darkBars[bar]) << x;
      EXPECT_EQ(frame[PixelIndex(x, 193)], darkBars[bar]) << x;
    }
  }
  // A grey ramp from black to white in rows 194..199.
  EXPECT_EQ(frame[PixelIndex(0, 199)], 0x000000u);
  EXPECT_EQ(frame[PixelIndex(319, 194)], 0xFFFFFFu);
  for (int x = 1; x < PictureWidth; ++x) {
    const std::uint32_t grey = frame[PixelIndex(x, 196)];
    EXPECT_TRUE(RedOf(grey) == GreenOf(grey) && GreenOf(grey) == BlueOf(grey)) << x;
    EXPECT_GE(RedOf(grey), RedOf(frame[PixelIndex(x - 1, 196)])) << x;
  }
  // The rainbow strip starts at red; one-pixel checkerboard at (256, 114).
  EXPECT_EQ(frame[PixelIndex(0, 172)], 0xFF0000u);
  EXPECT_EQ(frame[PixelIndex(256, 114)], 0x000000u);
  EXPECT_EQ(frame[PixelIndex(257, 114)], 0xFFFFFFu);
  EXPECT_EQ(frame[PixelIndex(257, 115)], 0x000000u);
}

TEST(TestPicture, GivesAConverterSomethingToDo)
{
  const Picture frame = TestPictureFrame();
  const std::set<std::uint32_t> colours(frame.begin(), frame.end());
  EXPECT_GT(colours.size(), 5000u);  // smooth gradients

  int dark = 0, skin = 0;
  for (const std::uint32_t colour : frame) {
    const int r = RedOf(colour), g = GreenOf(colour), b = BlueOf(colour);
    dark += std::max({r, g, b}) < 40;
    skin += r > g && g > b && r - b > 40 && r - b < 120 && r > 150;
  }
  EXPECT_GT(dark, 2000);
  EXPECT_GT(skin, 1500);
  // The sky darkens toward the top.
  EXPECT_LT(GreenOf(frame[PixelIndex(10, 0)]), GreenOf(frame[PixelIndex(10, 60)]));
}

}  // namespace
}  // namespace pavona
