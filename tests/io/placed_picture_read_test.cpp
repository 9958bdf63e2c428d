#include "io/placed_picture_read.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/jpeg_encoding.h"
#include "support/png_test_file.h"
#include "support/scratch_folder.h"
#include "support/synthetic_pictures.h"

namespace pavona {
namespace {

using testing::NoisePicture;
using testing::ScratchFolder;

Placement PlacedAs(FitMode mode, int scalePercent, PixelAspect aspect = PixelAspect::Pal)
{
  Placement placement;
  placement.mode = mode;
  placement.scalePercent = scalePercent;
  placement.aspect = aspect;
  return placement;
}

std::string WriteNoisePng(const ScratchFolder& folder, const std::string& name, bool interlaced)
{
  const LoadedPicture noise = NoisePicture(1200, 800, 11);
  testing::PngTestPicture png;
  png.width = noise.width;
  png.height = noise.height;
  png.interlaced = interlaced;
  for (const std::uint32_t colour : noise.pixels) {
    png.samples.insert(png.samples.end(),
                       {std::uint16_t(RedOf(colour)), std::uint16_t(GreenOf(colour)),
                        std::uint16_t(BlueOf(colour))});
  }
  const std::string path = folder.Path(name);
  testing::WritePngFile(path, png);
  return path;
}

// A picture read for one placement serves another exactly when a fresh read
// for the other gives the same pixels; otherwise the window would show (and
// convert) a frame the command line never makes from that file. Noise makes
// any two different reductions differ.
TEST(PlacedPictureReadTest, AReadServesExactlyThePlacementsAFreshReadWouldMatch)
{
  ScratchFolder folder;
  const std::string turnedJpeg = folder.Write(
      "turned.jpg", test::EncodeJpeg(NoisePicture(2400, 1600), 90, test::ExifOrientationBlock(6)));
  const std::string files[] = {
      turnedJpeg,
      WriteNoisePng(folder, "rows.png", false),
      WriteNoisePng(folder, "interlaced.png", true),
  };
  const Placement placements[] = {
      PlacedAs(FitMode::Cutout, 0),
      PlacedAs(FitMode::Fit, 0),
      PlacedAs(FitMode::Fill, 0, PixelAspect::Square),
      PlacedAs(FitMode::Fill, 10),
      PlacedAs(FitMode::Fit, 30),
      PlacedAs(FitMode::Fit, 100),
  };
  for (const std::string& file : files) {
    std::vector<PictureFileResult> reads;
    for (const Placement& placement : placements) {
      reads.push_back(ReadPictureForPlacement(file, placement));
      ASSERT_TRUE(reads.back().Ok()) << reads.back().error;
    }
    int served = 0;
    for (std::size_t from = 0; from < reads.size(); ++from) {
      const LoadedPicture& held = reads[from].picture;
      for (std::size_t to = 0; to < reads.size(); ++to) {
        SCOPED_TRACE(file + ", read for placement " + std::to_string(from) + ", shown at " +
                     std::to_string(to));
        const LoadedPicture& fresh = reads[to].picture;
        const bool same =
            held.width == fresh.width && held.height == fresh.height && held.pixels == fresh.pixels;
        EXPECT_EQ(ReadServesPlacement(held, reads[from].reduction, placements[to]), same);
        served += same;
      }
    }
    // The reducible files really were read at several sizes.
    const bool reducible = file != files[2];
    EXPECT_EQ(served == int(reads.size() * reads.size()), !reducible) << file;
  }
}

}  // namespace
}  // namespace pavona
