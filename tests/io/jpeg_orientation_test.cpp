#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "io/exif_orientation.h"
#include "io/picture_file.h"
#include "support/jpeg_encoding.h"
#include "support/scratch_folder.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

// The colours of an upright picture's four corner blocks: top left, top
// right, bottom left, bottom right; the rest is grey.
constexpr std::uint32_t CornerColours[4] = {0xE01010, 0x10C020, 0x2020E0, 0xF0F0F0};
constexpr int Block = 16;

// 48 x 32 upright: flat 16 x 16 blocks, which JPEG keeps nearly exact.
LoadedPicture UprightPicture(int width = 48, int height = 32)
{
  LoadedPicture picture{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool left = x < Block, right = x >= width - Block;
      const bool top = y < Block, bottom = y >= height - Block;
      picture.pixels[std::size_t(y) * width + x] =
          (left || right) && (top || bottom) ? CornerColours[(bottom ? 2 : 0) + (right ? 1 : 0)]
                                             : 0x808080;
    }
  }
  return picture;
}

std::uint32_t At(const LoadedPicture& picture, int x, int y)
{
  return picture.pixels[std::size_t(y) * picture.width + x];
}

// What a camera stores for an upright picture under each orientation, by the
// Exif standard's description of where the stored picture's top row and left
// column belong: built with pixel positions written out for each case.
LoadedPicture StoredFor(const LoadedPicture& upright, int orientation)
{
  const int w = upright.width, h = upright.height;
  const bool swaps = orientation >= 5;
  LoadedPicture stored{swaps ? h : w, swaps ? w : h, {}};
  for (int y = 0; y < stored.height; ++y) {
    for (int x = 0; x < stored.width; ++x) {
      int ux = x, uy = y;  // the upright pixel stored at (x, y)
      switch (orientation) {
        case 2:
          ux = w - 1 - x;
          break;  // top row at the top, mirrored
        case 3:
          ux = w - 1 - x;
          uy = h - 1 - y;
          break;  // top row at the bottom, mirrored
        case 4:
          uy = h - 1 - y;
          break;  // top row at the bottom
        case 5:
          ux = y;
          uy = x;
          break;  // top row on the left
        case 6:
          ux = w - 1 - y;
          uy = x;
          break;  // top row on the right
        case 7:
          ux = w - 1 - y;
          uy = h - 1 - x;
          break;  // top row on the right, mirrored
        case 8:
          ux = y;
          uy = h - 1 - x;
          break;  // top row on the left, mirrored
        default:
          break;
      }
      stored.pixels.push_back(At(upright, ux, uy));
    }
  }
  return stored;
}

bool Near(std::uint32_t got, std::uint32_t expected)
{
  const auto close = [](int a, int b) { return std::abs(a - b) <= 12; };
  return close(RedOf(got), RedOf(expected)) && close(GreenOf(got), GreenOf(expected)) &&
         close(BlueOf(got), BlueOf(expected));
}

class JpegOrientation : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
  {
    return scratch_.Write(name, bytes);
  }

  const pavona::testing::ScratchFolder scratch_;
  const fs::path folder_ = scratch_.Folder();
};

TEST_F(JpegOrientation, EveryOrientationIsTurnedUpright)
{
  const LoadedPicture upright = UprightPicture();
  for (int orientation = 1; orientation <= 8; ++orientation) {
    SCOPED_TRACE("orientation " + std::to_string(orientation));
    const LoadedPicture stored = StoredFor(upright, orientation);
    const std::string path =
        Write("o" + std::to_string(orientation) + ".jpg",
              test::EncodeJpeg(stored, 95, test::ExifOrientationBlock(orientation)));
    const PictureFileResult read = ReadPictureFile(path);
    ASSERT_TRUE(read.Ok()) << read.error;
    ASSERT_EQ(read.picture.width, 48);
    ASSERT_EQ(read.picture.height, 32);
    const int xs[2] = {Block / 2, 48 - Block / 2}, ys[2] = {Block / 2, 32 - Block / 2};
    for (int corner = 0; corner < 4; ++corner) {
      const std::uint32_t got = At(read.picture, xs[corner % 2], ys[corner / 2]);
      EXPECT_TRUE(Near(got, CornerColours[corner]))
          << "corner " << corner << ": " << std::hex << got;
    }
  }
}

TEST_F(JpegOrientation, OddOrientationValuesAndBrokenBlocksLeaveThePictureAsStored)
{
  const LoadedPicture upright = UprightPicture();
  std::vector<std::uint8_t> cut = test::ExifOrientationBlock(6);
  cut.resize(18);  // the entry count, then nothing
  struct Row {
    std::string name;
    std::vector<std::uint8_t> block;
  } rows[] = {{"0", test::ExifOrientationBlock(0)},
              {"9", test::ExifOrientationBlock(9)},
              {"cut short", cut},
              {"not Exif", {'X', 'M', 'P', 0, 1, 2, 3}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PictureFileResult read =
        ReadPictureFile(Write("odd.jpg", test::EncodeJpeg(upright, 95, row.block)));
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.picture.width, 48);
    EXPECT_TRUE(Near(At(read.picture, 4, 4), CornerColours[0]));
  }
}

// A large photo shown scaled down is decoded at n/8 of its size, the
// smallest at least as large as asked for, turned upright afterwards; it
// keeps its size in the file.
TEST_F(JpegOrientation, LargePicturesAreDecodedNoLargerThanNeeded)
{
  const LoadedPicture upright = UprightPicture(960, 640);
  struct Row {
    std::string name;
    int orientation;
    PictureSize needed;  // for the upright picture
    int width, height;   // as decoded, upright
  } rows[] = {
      {"an eighth", 1, {120, 80}, 120, 80},
      {"one more pixel across: two eighths", 1, {121, 80}, 240, 160},
      {"three eighths for 240 down", 1, {100, 240}, 360, 240},
      {"more than the picture: whole", 1, {2000, 2000}, 960, 640},
      {"turned: the needed size is upright", 6, {120, 100}, 240, 160},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const LoadedPicture stored = StoredFor(upright, row.orientation);
    const std::string path =
        Write("big.jpg", test::EncodeJpeg(stored, 90, test::ExifOrientationBlock(row.orientation)));
    int askedWidth = 0, askedHeight = 0;
    const PictureFileResult read = ReadPictureFile(path, [&](int width, int height) {
      askedWidth = width;
      askedHeight = height;
      return row.needed;
    });
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(askedWidth, 960);  // asked with the upright size in the file
    EXPECT_EQ(askedHeight, 640);
    EXPECT_EQ(read.picture.width, row.width);
    EXPECT_EQ(read.picture.height, row.height);
    EXPECT_EQ(read.picture.fileWidth, 960);
    EXPECT_EQ(read.picture.fileHeight, 640);
    EXPECT_TRUE(Near(At(read.picture, 1, 1), CornerColours[0]));
    EXPECT_TRUE(Near(At(read.picture, row.width - 2, row.height - 2), CornerColours[3]));
  }
}

}  // namespace
}  // namespace pavona
