#include "core/picture_closeness.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pavona {
namespace {

Picture Filled(std::uint32_t colour)
{
  Picture picture;
  picture.fill(colour);
  return picture;
}

// The eye averages a fine dither: black and white in a checkerboard look like
// the grey between them from a viewing distance, far closer than a flat grey
// a little off, and a flat picture of the wrong colour is far off.
TEST(BlurredPsnr, ScoresWhatTheEyeSeesFromADistance)
{
  const Picture grey = Filled(MakeColour(128, 128, 128));
  Picture checkerboard;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      checkerboard[PixelIndex(x, y)] = (x + y) % 2 ? 0xFFFFFF : 0;
    }
  }
  const double dithered = BlurredPsnr(grey, checkerboard, 0);
  const double slightlyOff = BlurredPsnr(grey, Filled(MakeColour(140, 140, 140)), 0);
  const double wrong = BlurredPsnr(grey, Filled(MakeColour(255, 0, 0)), 0);
  EXPECT_EQ(BlurredPsnr(grey, grey, 0), 99.0);
  EXPECT_GT(dithered, slightlyOff);
  EXPECT_GT(slightlyOff, wrong);
  EXPECT_NEAR(slightlyOff, 10 * std::log10(255.0 * 255.0 / 144.0), 1e-4);
  EXPECT_LT(wrong, 10);
}

// Columns the mode does not show are left out, blur and all.
TEST(BlurredPsnr, CountsOnlyTheColumnsShown)
{
  const Picture grey = Filled(MakeColour(128, 128, 128));
  Picture hidden = grey;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < 16; ++x) {
      hidden[PixelIndex(x, y)] = 0xFF00FF;
    }
  }
  EXPECT_EQ(BlurredPsnr(grey, hidden, 24), 99.0);
  EXPECT_LT(BlurredPsnr(grey, hidden, 16), 99.0);
  EXPECT_LT(BlurredPsnr(grey, hidden, 0), 20.0);
}

}  // namespace
}  // namespace pavona
