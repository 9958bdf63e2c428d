#include "core/test_picture.h"

#include <gtest/gtest.h>

#include <cmath>
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

  // Colour bars of 40 pixels in rows 176..187: every one of the eight
  // colours whose channels are each off or full, once, each bar flat; the
  // same bars at a quarter of their strength in rows 188..193, where black
  // is a dark grey so it still differs from the background.
  std::set<std::uint32_t> barColours;
  for (int bar = 0; bar < 8; ++bar) {
    const std::uint32_t colour = frame[PixelIndex(bar * 40, 176)];
    barColours.insert(colour);
    for (const int channel : {RedOf(colour), GreenOf(colour), BlueOf(colour)}) {
      EXPECT_TRUE(channel == 0 || channel == 255) << bar;
    }
    auto quarter = [](int channel) { return int(std::lround(channel / 4.0)); };
    const std::uint32_t dark =
        colour == 0
            ? 0x202020
            : MakeColour(quarter(RedOf(colour)), quarter(GreenOf(colour)), quarter(BlueOf(colour)));
    for (const int x : {bar * 40, bar * 40 + 39}) {
      EXPECT_EQ(frame[PixelIndex(x, 176)], colour) << x;
      EXPECT_EQ(frame[PixelIndex(x, 187)], colour) << x;
      EXPECT_EQ(frame[PixelIndex(x, 188)], dark) << x;
      EXPECT_EQ(frame[PixelIndex(x, 193)], dark) << x;
    }
  }
  EXPECT_EQ(barColours.size(), 8u);
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
