#include "framing/box_reduction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "support/synthetic_pictures.h"

namespace pavona {
namespace {

LoadedPicture Reduced(const LoadedPicture& picture, int factor)
{
  RowBoxReducer reducer(picture.width, picture.height, factor);
  for (int y = 0; y < picture.height; ++y) {
    reducer.AddRow(picture.pixels.data() + std::size_t(y) * picture.width);
  }
  return reducer.Finish();
}

// The plain definition, in double precision: the block's pixels (those inside
// the picture) turned into linear light, averaged, and turned back into the
// nearest sRGB byte.
int PlainBoxAverage(const LoadedPicture& picture, int factor, int bx, int by, int shift)
{
  const auto linear = [](int byte) {
    const double v = byte / 255.0;
    return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
  };
  double sum = 0;
  int count = 0;
  for (int y = by * factor; y < std::min(picture.height, (by + 1) * factor); ++y) {
    for (int x = bx * factor; x < std::min(picture.width, (bx + 1) * factor); ++x) {
      sum += linear(int(picture.pixels[std::size_t(y) * picture.width + x] >> shift & 0xFF));
      ++count;
    }
  }
  const double mean = sum / count;
  const double srgb = mean <= 0.0031308 ? mean * 12.92 : 1.055 * std::pow(mean, 1 / 2.4) - 0.055;
  return int(std::lround(srgb * 255));
}

// Within one step of the plain definition (the sums are kept in 16-bit
// linear light), whole blocks and the narrower ones at the right and bottom.
TEST(RowBoxReducer, AveragesBlocksInLinearLightAsThePlainDefinition)
{
  struct Row {
    std::string name;
    LoadedPicture picture;
    int factor;
  };
  const Row rows[] = {
      {"noise 64 x 48 by 8, whole blocks", testing::NoisePicture(64, 48, 1), 8},
      {"noise 37 x 23 by 4, cut blocks both ways", testing::NoisePicture(37, 23, 2), 4},
      {"noise 5 x 3 by 7, one cut block", testing::NoisePicture(5, 3, 3), 7},
      {"noise 9 x 2 by 1, no reduction", testing::NoisePicture(9, 2, 4), 1},
      {"checkerboard 31 x 20 by 3", testing::CheckerboardPicture(31, 20), 3},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const LoadedPicture reduced = Reduced(row.picture, row.factor);
    ASSERT_EQ(reduced.width, (row.picture.width + row.factor - 1) / row.factor);
    ASSERT_EQ(reduced.height, (row.picture.height + row.factor - 1) / row.factor);
    EXPECT_EQ(reduced.fileWidth, row.picture.width);
    EXPECT_EQ(reduced.fileHeight, row.picture.height);
    for (int by = 0; by < reduced.height; ++by) {
      for (int bx = 0; bx < reduced.width; ++bx) {
        const std::uint32_t pixel = reduced.pixels[std::size_t(by) * reduced.width + bx];
        EXPECT_EQ(pixel >> 24, 0u);
        for (int shift : {0, 8, 16}) {
          EXPECT_LE(std::abs(int(pixel >> shift & 0xFF) -
                             PlainBoxAverage(row.picture, row.factor, bx, by, shift)),
                    1)
              << "block " << bx << ", " << by << " channel at bit " << shift;
        }
      }
    }
  }
}

// Light adds up: fine black and white detail averages to the grey of half the
// light (sRGB 188), not to the darker middle of the byte range (128).
TEST(RowBoxReducer, KeepsTheBrightnessOfFineDetail)
{
  for (int factor : {2, 4, 6}) {
    SCOPED_TRACE("factor " + std::to_string(factor));
    const LoadedPicture reduced = Reduced(testing::CheckerboardPicture(24, 12), factor);
    for (const std::uint32_t pixel : reduced.pixels) {
      ASSERT_EQ(pixel, MakeColour(188, 188, 188));
    }
  }
}

// The factor leaves at least FilterShare pixels for each needed one on both
// sides (k blocks of FilterShare x needed fit in the picture), and is the
// largest that does, up to MaxBox.
TEST(WholeReductionFactor, IsTheLargestLeavingTheFilterItsShare)
{
  const auto fits = [](int factor, int side, int needed) {
    return (long long)factor * FilterShare * needed <= side;
  };
  for (int width = 1; width <= 4000; width += 37) {
    for (int height = 1; height <= 3000; height += 53) {
      for (const PictureSize needed : {PictureSize{320, 200}, PictureSize{97, 61}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        const int k = WholeReductionFactor(width, height, needed);
        ASSERT_TRUE(k == 1 || (fits(k, width, needed.width) && fits(k, height, needed.height)));
        ASSERT_TRUE(k == MaxBox || !fits(k + 1, width, needed.width) ||
                    !fits(k + 1, height, needed.height));
      }
    }
  }
  struct Row {
    std::string name;
    int width, height;
    PictureSize needed;
    int factor;
  };
  const Row rows[] = {
      {"24-megapixel photo fitted", 6000, 4000, {320, 200}, 6},
      {"portrait photo fitted", 3000, 4000, {142, 200}, 6},
      {"one pixel short of twice", 1919, 1200, {320, 200}, 1},
      {"huge picture, tiny frame", 16000, 16000, {10, 10}, MaxBox},
      {"nothing needed", 500, 500, {0, 0}, MaxBox},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(WholeReductionFactor(row.width, row.height, row.needed), row.factor) << row.name;
  }
}

}  // namespace
}  // namespace pavona
