#include "framing/picture_resample.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/ppm_frame.h"
#include "support/synthetic_pictures.h"

namespace pavona {
namespace {

// A real photo frame tiled `times` x `times`, every other tile mirrored so
// that the seams are as smooth as the photo.
LoadedPicture TiledPhoto(const std::string& name, int times)
{
  const Picture frame = testing::ReadPpmFrame(name);
  LoadedPicture picture{PictureWidth * times, PictureHeight * times, {}};
  for (int y = 0; y < picture.height; ++y) {
    const int ty =
        (y / PictureHeight) % 2 ? PictureHeight - 1 - y % PictureHeight : y % PictureHeight;
    for (int x = 0; x < picture.width; ++x) {
      const int tx =
          (x / PictureWidth) % 2 ? PictureWidth - 1 - x % PictureWidth : x % PictureWidth;
      picture.pixels.push_back(frame[PixelIndex(tx, ty)]);
    }
  }
  return picture;
}

// Averaging blocks first is a shortcut: it must give the direct filter's
// picture on photos, on noise and on the finest detail there is, whole or
// cut by the frame's edges. The box softens sharp edges a little more than
// the filter alone (measured: at most 8 steps of a channel at an edge of a
// photo, under half a step on average), and must not shift the picture.
TEST(DrawResampledPicture, BoxFirstAgreesWithTheDirectFilter)
{
  struct Row {
    std::string name;
    LoadedPicture picture;
    int scaledWidth, scaledHeight, left, top;
    int meanLimit, maxLimit;  // in hundredths of a channel step, and steps
  };
  const Row rows[] = {
      {"coffee 10x fitted", TiledPhoto("coffee_frame.ppm", 10), 320, 200, 0, 0, 50, 10},
      {"rocket 12x filled and cut", TiledPhoto("rocket_frame.ppm", 12), 400, 250, -37, -21, 50, 10},
      {"chelsea 8x to an odd size", TiledPhoto("chelsea_frame.ppm", 8), 97, 61, 13, 7, 50, 10},
      {"noise 12x", testing::NoisePicture(3000, 2000), 250, 167, 30, 16, 50, 8},
      {"checkerboard 9.3x", testing::CheckerboardPicture(2976, 1860), 320, 200, 0, 0, 50, 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Picture direct{}, boxFirst{};
    DrawResampledPicture(row.picture, row.scaledWidth, row.scaledHeight, row.left, row.top, direct,
                         ResampleRoute::Direct);
    DrawResampledPicture(row.picture, row.scaledWidth, row.scaledHeight, row.left, row.top,
                         boxFirst, ResampleRoute::BoxFirst);
    long long total = 0;
    int largest = 0;
    for (int i = 0; i < PixelCount; ++i) {
      for (int shift : {0, 8, 16}) {
        const int difference =
            std::abs(int((direct[i] >> shift) & 0xFF) - int((boxFirst[i] >> shift) & 0xFF));
        total += difference;
        largest = std::max(largest, difference);
      }
      // Both leave the same frame pixels alone.
      ASSERT_EQ(direct[i] == 0, boxFirst[i] == 0) << "pixel " << i;
    }
    EXPECT_LE(total * 100 / (3 * PixelCount), row.meanLimit);
    EXPECT_LE(largest, row.maxLimit);
  }
}

}  // namespace
}  // namespace pavona
