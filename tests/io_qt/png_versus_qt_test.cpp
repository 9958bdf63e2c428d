#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <random>
#include <string>
#include <vector>

#include "io/picture_file.h"
#include "io/png_writer.h"
#include "support/png_test_kinds.h"
#include "support/ppm_frame.h"
#include "support/scratch_folder.h"

// PNG files used to be read and written with Qt; these check that the libpng
// reader and writer give exactly what Qt gave.
namespace pavona {
namespace {

using testing::ScratchFolder;

void ExpectSameAsQt(const std::string& path)
{
  const PictureFileResult ours = ReadPictureFile(path);
  ASSERT_TRUE(ours.Ok()) << ours.error;
  QImageReader reader(QString::fromStdString(path), "png");
  QImage theirs;
  ASSERT_TRUE(reader.read(&theirs));
  theirs.convertTo(QImage::Format_ARGB32_Premultiplied);
  ASSERT_EQ(ours.picture.width, theirs.width());
  ASSERT_EQ(ours.picture.height, theirs.height());
  for (int y = 0; y < theirs.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(theirs.constScanLine(y));
    for (int x = 0; x < theirs.width(); ++x) {
      ASSERT_EQ(ours.picture.pixels[std::size_t(y) * theirs.width() + x], line[x] & 0xFFFFFF)
          << x << ", " << y;
    }
  }
}

TEST(PngVersusQt, EveryColourTypeAndDepthReadsAsQtReadIt)
{
  const ScratchFolder folder;
  for (const testing::PngKind& kind : testing::EveryPngKind()) {
    // Qt did not have libpng expand the transparent colour of 16-bit RGB
    // files and gave other colours than the file's for them; ours are the
    // file's (the Qt-free tests check them) and deliberately not Qt's.
    if (kind.name == "rgb 16 key") {
      continue;
    }
    SCOPED_TRACE(kind.name);
    const std::string path = folder.Path(kind.name + ".png");
    testing::WritePngFile(path, kind.picture);
    ExpectSameAsQt(path);
  }
}

// Every channel value at every opacity at 8 bits (256 x 256 pixels), and
// random 16-bit values with the extremes mixed in.
TEST(PngVersusQt, EveryOpacityRoundsAsInQt)
{
  const ScratchFolder folder;
  testing::PngTestPicture eight;
  eight.width = eight.height = 256;
  eight.colourType = PNG_COLOR_TYPE_RGBA;
  for (int alpha = 0; alpha < 256; ++alpha) {
    for (int channel = 0; channel < 256; ++channel) {
      eight.samples.insert(eight.samples.end(),
                           {std::uint16_t(channel), std::uint16_t(255 - channel),
                            std::uint16_t(channel ^ alpha), std::uint16_t(alpha)});
    }
  }
  testing::WritePngFile(folder.Path("eight.png"), eight);
  ExpectSameAsQt(folder.Path("eight.png"));

  std::mt19937 random(7);
  testing::PngTestPicture sixteen = eight;
  sixteen.bitDepth = 16;
  sixteen.samples.clear();
  const std::uint16_t extremes[] = {0, 1, 127, 128, 255, 256, 32767, 32768, 65279, 65534, 65535};
  for (int i = 0; i < 256 * 256 * 4; ++i) {
    sixteen.samples.push_back(i % 5 == 0 ? extremes[random() % std::size(extremes)]
                                         : std::uint16_t(random()));
  }
  testing::WritePngFile(folder.Path("sixteen.png"), sixteen);
  ExpectSameAsQt(folder.Path("sixteen.png"));
}

// The files used to be written by Qt with its defaults. The compression is
// chosen for speed now, so the bytes differ; what Qt reads from them is still
// exactly the picture.
TEST(PngVersusQt, WrittenFilesReadInQtAsThePicture)
{
  Picture flat{};
  Picture noise{};
  std::mt19937 random(11);
  for (std::uint32_t& pixel : noise) {
    pixel = random() & 0xFFFFFF;
  }
  const std::pair<const char*, Picture> cases[] = {
      {"coffee", testing::ReadPpmFrame("coffee_frame.ppm")},
      {"rocket", testing::ReadPpmFrame("rocket_frame.ppm")},
      {"black", flat},
      {"noise", noise},
  };
  for (const auto& [name, picture] : cases) {
    SCOPED_TRACE(name);
    const std::vector<std::uint8_t> bytes = EncodePng(picture).bytes;
    QImage read;
    ASSERT_TRUE(read.loadFromData(bytes.data(), int(bytes.size()), "PNG"));
    read.convertTo(QImage::Format_RGB32);
    ASSERT_EQ(read.size(), QSize(PictureWidth, PictureHeight));
    for (int y = 0; y < PictureHeight; ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(read.constScanLine(y));
      for (int x = 0; x < PictureWidth; ++x) {
        ASSERT_EQ(line[x] & 0xFFFFFF, picture[PixelIndex(x, y)]) << x << ", " << y;
      }
    }
  }
}

}  // namespace
}  // namespace pavona
