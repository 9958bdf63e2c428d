// Atkinson, Sierra Lite, Jarvis-Judice-Ninke and Stucki.
#include <gtest/gtest.h>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "dither/dither_fixtures.h"

namespace pavona {
namespace {

using namespace testing;

const struct {
  const char* name;
  DitherMethod method;
  double tolerance;  // Atkinson passes on only three quarters of the error
} Kernels[] = {{"Atkinson", DitherMethod::Atkinson, 6},
               {"Sierra Lite", DitherMethod::SierraLite, 2},
               {"Jarvis-Judice-Ninke", DitherMethod::JarvisJudiceNinke, 2},
               {"Stucki", DitherMethod::Stucki, 2}};

MixTable InterlaceTable()
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb,
                  GraphicMode::HiresFliInterlace);
  ReduceFlicker(table, FlickerLevel::Medium);
  return table;
}

// The mean brightness of columns first..first+width-1, every row.
double BandMean(const Picture& picture, int first, int width)
{
  double sum = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = first; x < first + width; ++x) {
      const std::uint32_t colour = picture[PixelIndex(x, y)];
      sum += RedOf(colour) + GreenOf(colour) + BlueOf(colour);
    }
  }
  return sum / 3 / (width * PictureHeight);
}

Picture Dithered(AdjustedPlanes& planes, DitherMethod method, bool serpentine)
{
  Dither(planes, InterlaceTable(), Method(method, serpentine), Measure::Perceptual);
  return PictureFromPlanes(planes);
}

TEST(KernelDiffusion, FlatGreysKeepTheirMean)
{
  for (const auto& kernel : Kernels) {
    for (const bool serpentine : {false, true}) {
      for (const int level : {16, 64, 100, 128, 192, 240}) {
        SCOPED_TRACE(kernel.name);
        auto planes = FlatPlanes(level, 0);
        const Picture picture = Dithered(*planes, kernel.method, serpentine);
        EXPECT_NEAR(BandMean(picture, 0, PictureWidth), level, kernel.tolerance)
            << "serpentine " << serpentine;
      }
    }
  }
}

// A grey ramp from 0 at the left to 255 at the right: each band of 32
// columns keeps the mean of its part of the ramp.
TEST(KernelDiffusion, GradientKeepsTheMeanOfEachBand)
{
  auto ramp = FlatPlanes(0, 0);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const auto value = std::uint8_t(x * 255 / (PictureWidth - 1));
      const int offset = PixelIndex(x, y);
      ramp->red[offset] = ramp->green[offset] = ramp->blue[offset] = value;
    }
  }
  const Picture source = PictureFromPlanes(*ramp);
  constexpr int Band = 32;
  for (const auto& kernel : Kernels) {
    SCOPED_TRACE(kernel.name);
    AdjustedPlanes planes = *ramp;
    const Picture picture = Dithered(planes, kernel.method, true);
    for (int first = 0; first < PictureWidth; first += Band) {
      EXPECT_NEAR(BandMean(picture, first, Band), BandMean(source, first, Band),
                  kernel.tolerance + 2)
          << "band at " << first;
    }
  }
}

// Serpentine order changes the pattern; either order gives the same result
// every time.
TEST(KernelDiffusion, SerpentineChangesTheResultAndBothAreDeterministic)
{
  const auto photo = FramePlanes("coffee_frame.ppm");
  for (const auto& kernel : Kernels) {
    SCOPED_TRACE(kernel.name);
    Picture results[2][2];
    for (int run = 0; run < 2; ++run) {
      for (const bool serpentine : {false, true}) {
        AdjustedPlanes planes = *photo;
        results[run][serpentine] = Dithered(planes, kernel.method, serpentine);
      }
    }
    EXPECT_EQ(results[0][0], results[1][0]);
    EXPECT_EQ(results[0][1], results[1][1]);
    EXPECT_NE(results[0][0], results[0][1]);
  }
}

}  // namespace
}  // namespace pavona
