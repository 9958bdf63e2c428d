// The balanced ordered methods keep the mean of what they dither.
#include <gtest/gtest.h>

#include <algorithm>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "dither/dither_fixtures.h"
#include "dither/ordered_dither.h"

namespace pavona {
namespace {

using namespace testing;

constexpr DitherMethod BalancedMethods[] = {
    DitherMethod::Ordered2x2Balanced, DitherMethod::Ordered3x3Balanced,
    DitherMethod::Ordered4x4Balanced, DitherMethod::Ordered8x8Balanced};

// The mix table a conversion starts from in its default mode, palette and
// flicker level.
MixTable DefaultTable(GraphicMode mode)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(PaletteId::Pepto), MixMethod::Rgb, mode);
  if (IsInterlaced(mode)) {
    ReduceFlicker(table, FlickerLevel::Medium);
  }
  return table;
}

// The mean of the channel means over the frame.
double MeanBrightness(const Picture& picture)
{
  double sum = 0;
  for (const std::uint32_t colour : picture) {
    sum += RedOf(colour) + GreenOf(colour) + BlueOf(colour);
  }
  return sum / 3 / PixelCount;
}

double DitheredMean(int level, const DitherSettings& settings, GraphicMode mode)
{
  auto planes = FlatPlanes(level, 0);
  std::uint32_t randomState = 1;
  SilentProgress progress;
  DitherPicture(*planes, DefaultTable(mode), Measure::Perceptual, mode, settings, randomState,
                progress);
  return MeanBrightness(PictureFromPlanes(*planes));
}

// A flat grey keeps its mean in every matrix and at every amplitude where
// the mixes of two fields lie close; with the 16 colours alone, whose greys
// lie up to 106 apart, the 4x4 and 8x8 matrices have thresholds enough to
// keep it (four or nine thresholds cannot share 149 and 255 into 192).
TEST(BalancedDither, FlatGreyKeepsItsMean)
{
  const struct {
    GraphicMode mode;
    int smallestMatrix;
  } rows[] = {{GraphicMode::HiresFliInterlace, 2},
              {GraphicMode::HiresInterlaced, 2},
              {GraphicMode::MulticolourInterlace, 2},
              {GraphicMode::HiresStandard, 4},
              {GraphicMode::HiresFli, 4},
              {GraphicMode::Multicolour, 4}};
  for (const auto& row : rows) {
    for (const DitherMethod method : BalancedMethods) {
      if (OrderedMatrixSize(method) < row.smallestMatrix) {
        continue;
      }
      // "Value Amp" 1 spreads the pattern over one gap, 4 over two.
      for (int amp : {1, 4}) {
        DitherSettings settings = Method(method);
        settings.valueAmp = amp;
        for (int level : {16, 64, 128, 192, 240}) {
          EXPECT_NEAR(DitheredMean(level, settings, row.mode), level, 4)
              << "mode " << int(row.mode) << ", matrix " << OrderedMatrixSize(method) << ", amp "
              << amp;
        }
      }
    }
  }
}

// A grey between two mixes is a pattern of both (it is dithered, not
// flattened), the options that move the pattern keep the mean, and the plain
// ordered method of the same size darkens instead.
TEST(BalancedDither, DithersBetweenColoursAndOptionsKeepTheMean)
{
  const GraphicMode mode = GraphicMode::HiresFliInterlace;
  const struct {
    const char* name;
    bool altY, flip;
  } rows[] = {{"plain", false, false}, {"alt y", true, false}, {"flip", false, true}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    DitherSettings settings = Method(DitherMethod::Ordered4x4Balanced);
    settings.altYDither = row.altY;
    settings.flipDither = row.flip;
    auto planes = FlatPlanes(90, 0);
    Dither(*planes, DefaultTable(mode), settings, Measure::Perceptual);
    const Picture picture = PictureFromPlanes(*planes);
    EXPECT_GT(std::count(picture.begin(), picture.end(), picture[0]), 0);
    EXPECT_LT(std::count(picture.begin(), picture.end(), picture[0]), PixelCount);
    EXPECT_NEAR(MeanBrightness(picture), 90, 4);
  }
  EXPECT_LT(DitheredMean(90, Method(DitherMethod::Ordered4x4), mode), 90 - 8);
}

}  // namespace
}  // namespace pavona
