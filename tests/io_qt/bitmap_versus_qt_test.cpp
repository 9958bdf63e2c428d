#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <string>

#include "io/picture_file.h"
#include "support/ppm_frame.h"
#include "support/scratch_folder.h"

namespace pavona {
namespace {

using testing::DataFile;
using testing::ScratchFolder;

// Qt's reader is an independent decoder; on complete files with 8 bits a
// channel the two must agree on every pixel.
void ExpectSameAsQt(const std::string& path)
{
  SCOPED_TRACE(path);
  const PictureFileResult ours = ReadPictureFile(path);
  ASSERT_TRUE(ours.Ok()) << ours.error;
  const QImage theirs =
      QImage(QString::fromStdString(path), "bmp").convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(ours.picture.width, theirs.width());
  ASSERT_EQ(ours.picture.height, theirs.height());
  for (int y = 0; y < theirs.height(); ++y) {
    for (int x = 0; x < theirs.width(); ++x) {
      ASSERT_EQ(ours.picture.pixels[std::size_t(y) * theirs.width() + x],
                theirs.pixel(x, y) & 0xFFFFFF)
          << x << ", " << y;
    }
  }
}

TEST(ReadPictureFile, BitmapsAgreeWithQtOnSmallFilesAndPhotos)
{
  for (const char* file : {"bits1.bmp", "bits4.bmp", "bits8.bmp", "rle8.bmp", "rle4.bmp",
                           "bits24.bmp", "bits24_top_down.bmp", "bits32.bmp"}) {
    ExpectSameAsQt(DataFile(file));
  }
  // A real photo written by Qt as a 24-bit and as a dithered 8-bit bitmap.
  const Picture photo = testing::ReadPpmFrame("coffee_frame.ppm");
  QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      image.setPixel(x, y, 0xFF000000u | photo[PixelIndex(x, y)]);
    }
  }
  const ScratchFolder folder;
  ASSERT_TRUE(image.save(QString::fromStdString(folder.Path("photo24.bmp")), "BMP"));
  ASSERT_TRUE(image.convertToFormat(QImage::Format_Indexed8)
                  .save(QString::fromStdString(folder.Path("photo8.bmp")), "BMP"));
  ExpectSameAsQt(folder.Path("photo24.bmp"));
  ExpectSameAsQt(folder.Path("photo8.bmp"));
  const PictureFileResult read = ReadPictureFile(folder.Path("photo24.bmp"));
  ASSERT_TRUE(read.Ok());
  EXPECT_TRUE(std::equal(photo.begin(), photo.end(), read.picture.pixels.begin()));
}

}  // namespace
}  // namespace pavona
