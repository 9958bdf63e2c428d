#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "framing/box_reduction.h"
#include "framing/placement.h"
#include "io/picture_file.h"
#include "io/premultiplied.h"
#include "support/png_test_kinds.h"
#include "support/ppm_frame.h"
#include "support/scratch_folder.h"

namespace pavona {
namespace {

using testing::DataFile;
using testing::ReadBytes;
using testing::ScratchFolder;

// The loaded pixels round as pictures always have (the tests against Qt check
// that to the bit), which is within one step of plain rounding.
bool WithinOneStep(std::uint32_t a, std::uint32_t b)
{
  for (int shift = 0; shift <= 16; shift += 8) {
    if (std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)) > 1) {
      return false;
    }
  }
  return true;
}

// A real photo frame tiled `times` x `times` as an 8-bit RGB PNG picture,
// every other tile mirrored so that the seams are as smooth as the photo.
testing::PngTestPicture TiledPhotoPng(const std::string& name, int times)
{
  const Picture frame = testing::ReadPpmFrame(name);
  testing::PngTestPicture picture;
  picture.width = PictureWidth * times;
  picture.height = PictureHeight * times;
  for (int y = 0; y < picture.height; ++y) {
    const int ty =
        (y / PictureHeight) % 2 ? PictureHeight - 1 - y % PictureHeight : y % PictureHeight;
    for (int x = 0; x < picture.width; ++x) {
      const int tx =
          (x / PictureWidth) % 2 ? PictureWidth - 1 - x % PictureWidth : x % PictureWidth;
      const std::uint32_t colour = frame[PixelIndex(tx, ty)];
      picture.samples.insert(picture.samples.end(),
                             {std::uint16_t(RedOf(colour)), std::uint16_t(GreenOf(colour)),
                              std::uint16_t(BlueOf(colour))});
    }
  }
  return picture;
}

TEST(ReadPng, ReadsEveryColourTypeAndDepthWithTransparencyOverBlack)
{
  const ScratchFolder folder;
  for (const testing::PngKind& kind : testing::EveryPngKind()) {
    SCOPED_TRACE(kind.name);
    const std::string path = folder.Path(kind.name + ".png");
    testing::WritePngFile(path, kind.picture);
    const PictureFileResult result = ReadPictureFile(path);
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_EQ(result.picture.width, kind.picture.width);
    ASSERT_EQ(result.picture.height, kind.picture.height);
    for (int y = 0; y < kind.picture.height; ++y) {
      for (int x = 0; x < kind.picture.width; ++x) {
        const std::uint32_t pixel = result.picture.pixels[std::size_t(y) * kind.picture.width + x];
        ASSERT_TRUE(WithinOneStep(pixel, testing::ExpectedPixel(kind.picture, x, y)))
            << std::hex << pixel << " at " << std::dec << x << ", " << y;
      }
    }
  }
}

// The integer forms: exact at no and at full opacity, and within one step of
// plain rounding everywhere (every 8-bit pair; 16-bit values spread over the
// whole range).
TEST(Premultiplied, StaysWithinOneStepOfPlainArithmetic)
{
  for (std::uint32_t alpha = 0; alpha < 256; ++alpha) {
    for (std::uint32_t channel = 0; channel < 256; ++channel) {
      ASSERT_LE(std::abs(Premultiplied8(channel, alpha) - std::lround(channel * alpha / 255.0)), 1)
          << channel << " " << alpha;
    }
    ASSERT_EQ(Premultiplied8(alpha, 255), alpha);
    ASSERT_EQ(Premultiplied8(alpha, 0), 0);
  }
  for (std::uint32_t alpha = 0; alpha < 65536; alpha += 97) {
    for (std::uint32_t channel = 0; channel < 65536; channel += 89) {
      ASSERT_LE(std::abs(Premultiplied16(channel, alpha) -
                         std::lround(channel * double(alpha) / 65535.0)),
                1)
          << channel << " " << alpha;
    }
  }
  for (std::uint32_t channel = 0; channel < 65536; ++channel) {
    ASSERT_EQ(Premultiplied16(channel, 65535), channel);
    ASSERT_EQ(Premultiplied16(channel, 0), 0);
    ASSERT_LE(std::abs(EightBitsOf(channel) - std::lround(channel / 257.0)), 1) << channel;
  }
  for (std::uint32_t channel = 0; channel < 256; ++channel) {
    ASSERT_EQ(EightBitsOf(channel * 257), channel);
  }
}

std::vector<std::uint8_t> WithTextChunk(bool goodCrc)
{
  return testing::WithTextChunk(ReadBytes(DataFile("alpha.png")), goodCrc);
}

// Asks for a picture as small as may be: the reader reduces all it can.
const DecodeSizeNeeded TinyPicture = [](int, int) { return PictureSize{1, 1}; };

TEST(ReadPng, ReturnsLibpngWarningsAndStillReadsThePicture)
{
  const ScratchFolder folder;
  struct Case {
    const char* name;
    bool goodCrc;
    std::size_t warnings;
  };
  for (const Case& row : {Case{"clean.png", true, 0}, Case{"bad_text.png", false, 1}}) {
    SCOPED_TRACE(row.name);
    const PictureFileResult result =
        ReadPictureFile(folder.Write(row.name, WithTextChunk(row.goodCrc)));
    ASSERT_TRUE(result.Ok()) << result.error;
    const std::vector<std::string>& warnings = result.warnings;
    EXPECT_EQ(result.picture.pixels, ReadPictureFile(DataFile("alpha.png")).picture.pixels);
    ASSERT_EQ(warnings.size(), row.warnings);
    for (const std::string& warning : warnings) {
      EXPECT_EQ(warning.rfind("tEXt: CRC error", 0), 0u) << warning;
    }
  }
  // The warning is the caller's to show: nothing reaches standard error.
  ::testing::internal::CaptureStderr();
  EXPECT_TRUE(ReadPictureFile(folder.Write("quiet.png", WithTextChunk(false))).Ok());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
}

TEST(ReadPng, RefusalsGiveLibpngsReason)
{
  const ScratchFolder folder;
  const std::vector<std::uint8_t> good = ReadBytes(DataFile("alpha.png"));
  std::vector<std::uint8_t> badDepth = good;
  badDepth[24] = 3;  // bit depth 3 does not exist; the header's checksum made to fit
  const std::uint32_t crc = std::uint32_t(crc32(0, &badDepth[12], 17));
  for (int i = 0; i < 4; ++i) {
    badDepth[29 + i] = std::uint8_t(crc >> (24 - 8 * i));
  }
  std::vector<std::uint8_t> badData = good;
  for (std::size_t i = 70; i < 90; ++i) {
    badData[i] ^= 0x5A;  // inside the picture data, whose chunk runs from 54 to 151
  }
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* reason;
  };
  const Case cases[] = {
      // A cut file is found out by the chunk check before libpng starts.
      {"cut.png", std::vector(good.begin(), good.end() - 40),
       "damaged PNG file (its IDAT chunk declares"},
      {"header_only.png", std::vector(good.begin(), good.begin() + 20),
       "damaged PNG file (its IHDR chunk declares"},
      {"depth.png", badDepth, "Invalid IHDR data"},
      {"data.png", badData, "IDAT: "},  // what libpng finds wrong first
  };
  for (const Case& row : cases) {
    // Whole, and reduced while it is read: the reduction gives up the same way.
    for (const DecodeSizeNeeded& needed : {DecodeSizeNeeded(), TinyPicture}) {
      const std::string path = folder.Write(row.name, row.bytes);
      const PictureFileResult result = ReadPictureFile(path, needed);
      EXPECT_FALSE(result.Ok()) << row.name;
      EXPECT_EQ(result.error.rfind("cannot read " + path + ": " + row.reason, 0), 0u)
          << result.error;
      EXPECT_TRUE(result.picture.pixels.empty());
    }
  }
}

// File names are bytes to the system; one that is not valid UTF-8 must load.
TEST(ReadPng, OpensNamesThatAreNotUtf8)
{
  const ScratchFolder folder;
  const std::string path = folder.Write("caf\xE9-\xFF.png", ReadBytes(DataFile("alpha.png")));
  const PictureFileResult result = ReadPictureFile(path);
  ASSERT_TRUE(result.Ok()) << result.error;
  EXPECT_EQ(result.picture.width, 13);
}

// Reducing while reading gives exactly what reducing the whole picture gives,
// for every colour type and depth (transparency over black included); an
// interlaced picture, which arrives in passes, is read whole.
TEST(ReadPng, ReducesWhileReadingAsTheWholePictureReduces)
{
  const ScratchFolder folder;
  for (const testing::PngKind& kind : testing::EveryPngKind(150, 97)) {
    SCOPED_TRACE(kind.name);
    const std::string path = folder.Path(kind.name + ".png");
    testing::WritePngFile(path, kind.picture);
    const PictureFileResult whole = ReadPictureFile(path);
    const PictureFileResult reduced = ReadPictureFile(path, [](int, int) {
      return PictureSize{20, 13};
    });
    ASSERT_TRUE(whole.Ok() && reduced.Ok()) << whole.error << reduced.error;
    if (kind.picture.interlaced) {
      EXPECT_EQ(reduced.picture.pixels, whole.picture.pixels);
      EXPECT_EQ(reduced.picture.width, 150);
      continue;
    }
    const int factor = WholeReductionFactor(150, 97, {20, 13});
    ASSERT_EQ(factor, 2);
    RowBoxReducer reducer(150, 97, factor);
    for (int y = 0; y < 97; ++y) {
      reducer.AddRow(whole.picture.pixels.data() + y * 150);
    }
    const LoadedPicture expected = reducer.Finish();
    EXPECT_EQ(reduced.picture.pixels, expected.pixels);
    EXPECT_EQ(reduced.picture.width, 75);
    EXPECT_EQ(reduced.picture.height, 49);
    EXPECT_EQ(FileWidthOf(reduced.picture), 150);
    EXPECT_EQ(FileHeightOf(reduced.picture), 97);
  }
}

// A photo fitted into the frame from the picture reduced while it was read
// looks as it does from the whole picture: the area averages leave the
// resampling filter three pixels per frame pixel, as its own box step does.
TEST(ReadPng, FittedPhotoFromTheReducedReadMatchesTheWholeRead)
{
  const ScratchFolder folder;
  const std::string path = folder.Path("coffee_tiled.png");
  testing::WritePngFile(path, TiledPhotoPng("coffee_frame.ppm", 8));
  Placement placement;
  placement.mode = FitMode::Fit;
  const PictureFileResult whole = ReadPictureFile(path);
  const PictureFileResult reduced = ReadPictureFile(
      path, [&](int width, int height) { return NeededDecodeSize(placement, width, height); });
  ASSERT_TRUE(whole.Ok() && reduced.Ok()) << whole.error << reduced.error;
  ASSERT_LE(reduced.picture.width, whole.picture.width / 2);
  const PlacementGeometry geometry = GeometryOfPlacement(placement, 2560, 1600);
  placement.panX = geometry.centredPanX;
  placement.panY = geometry.centredPanY;
  const Picture fromWhole = PlacePicture(whole.picture, placement);
  const Picture fromReduced = PlacePicture(reduced.picture, placement);
  long long total = 0;
  int largest = 0;
  for (int i = 0; i < PixelCount; ++i) {
    for (int shift : {0, 8, 16}) {
      const int difference =
          std::abs(int(fromWhole[i] >> shift & 0xFF) - int(fromReduced[i] >> shift & 0xFF));
      total += difference;
      largest = std::max(largest, difference);
    }
  }
  // Only the rounding of the reduced picture to sRGB bytes differs (measured:
  // 0.06 of a step on average, at most 1).
  EXPECT_LE(total * 100 / (3 * PixelCount), 10);  // hundredths of a step, on average
  EXPECT_LE(largest, 2);
}

}  // namespace
}  // namespace pavona
