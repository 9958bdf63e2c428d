#include "io/png_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "io/picture_file.h"
#include "support/ppm_frame.h"
#include "support/scratch_folder.h"

namespace pavona {
namespace {

std::uint32_t BigEndian32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
  return std::uint32_t(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
}

TEST(EncodePng, WritesTheFrameBackAsItWas)
{
  const testing::ScratchFolder folder;
  for (const char* name : {"coffee_frame.ppm", "chelsea_frame.ppm", "rocket_frame.ppm"}) {
    SCOPED_TRACE(name);
    const Picture frame = testing::ReadPpmFrame(name);
    const PngBytesResult png = EncodePng(frame);
    ASSERT_TRUE(png.Ok()) << png.error;
    const PictureFileResult read =
        ReadPictureFile(folder.Write(std::string(name) + ".png", png.bytes));
    ASSERT_TRUE(read.Ok()) << read.error;
    ASSERT_EQ(read.picture.width, PictureWidth);
    ASSERT_EQ(read.picture.height, PictureHeight);
    EXPECT_TRUE(std::equal(frame.begin(), frame.end(), read.picture.pixels.begin()));
  }
}

// A converted picture has few colours and is written without row filters, a
// photo with them: both ways give the pixels back, on either side of the
// 256 colours where the choice changes.
TEST(EncodePng, WritesFewAndManyColoursBackAsTheyWere)
{
  const testing::ScratchFolder folder;
  for (const int colours : {1, 256, 257}) {
    SCOPED_TRACE(colours);
    Picture picture{};
    for (int i = 0; i < PixelCount; ++i) {
      // Spread over all three channels, and in runs of a row's length.
      const std::uint32_t n = std::uint32_t((i / 7 + i / PictureWidth) % colours);
      picture[i] = n * 0x010305u & 0xFFFFFF;
    }
    const PngBytesResult png = EncodePng(picture);
    ASSERT_TRUE(png.Ok()) << png.error;
    const PictureFileResult read =
        ReadPictureFile(folder.Write(std::to_string(colours) + ".png", png.bytes));
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_TRUE(std::equal(picture.begin(), picture.end(), read.picture.pixels.begin()));
  }
}

// The chunks every written file has: the header (320 x 200, 8-bit RGB, not
// interlaced), the physical size at 3937 dots a metre, the picture data in
// pieces of 8192 bytes and the end.
TEST(EncodePng, WritesTheSameChunksAsAlways)
{
  const std::vector<std::uint8_t> bytes =
      EncodePng(testing::ReadPpmFrame("coffee_frame.ppm")).bytes;
  std::vector<std::string> types;
  std::vector<std::uint32_t> lengths;
  for (std::size_t at = 8; at + 8 <= bytes.size();) {
    lengths.push_back(BigEndian32(bytes, at));
    types.emplace_back(bytes.begin() + at + 4, bytes.begin() + at + 8);
    at += 12 + lengths.back();
  }
  ASSERT_GE(types.size(), 4u);
  EXPECT_EQ(types[0], "IHDR");
  EXPECT_EQ(BigEndian32(bytes, 16), 320u);
  EXPECT_EQ(BigEndian32(bytes, 20), 200u);
  EXPECT_EQ(std::vector(bytes.begin() + 24, bytes.begin() + 29),
            (std::vector<std::uint8_t>{8, 2, 0, 0, 0}));
  EXPECT_EQ(types[1], "pHYs");
  EXPECT_EQ(BigEndian32(bytes, 41), 3937u);
  EXPECT_EQ(BigEndian32(bytes, 45), 3937u);
  EXPECT_EQ(bytes[49], 1);  // a metre is the unit
  for (std::size_t i = 2; i + 1 < types.size(); ++i) {
    EXPECT_EQ(types[i], "IDAT");
    if (i + 2 < types.size()) {
      EXPECT_EQ(lengths[i], 8192u);
    }
  }
  EXPECT_EQ(types.back(), "IEND");
}

}  // namespace
}  // namespace pavona
