#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

#include "io/picture_readers.h"

namespace pavona {

namespace {

// Qt refuses images above its allocation limit (128 MB by default). Our own
// size check comes first; this only has to leave room for the largest picture
// we accept, at eight bytes a pixel for 16-bit PNG files.
constexpr int AllocationLimitMegabytes = 1024;

}  // namespace

std::string ReadPng(const std::string& path, LoadedPicture& picture)
{
  // The inverse of QFile::encodeName, so the bytes of the name reach the file system unchanged.
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)), "png");
  reader.setAutoDetectImageFormat(false);
  reader.setAllocationLimit(AllocationLimitMegabytes);
  const QSize size = reader.size();
  if (!size.isValid()) {
    return "damaged or unsupported PNG file (its header cannot be read)";
  }
  if (std::string reason = CheckPictureSize(size.width(), size.height()); !reason.empty()) {
    return reason;
  }
  QImage image;
  if (!reader.read(&image)) {
    return "damaged or unsupported PNG file (its picture data cannot be read)";
  }
  // Transparent pixels are shown over black, the colour of the empty frame.
  image.convertTo(QImage::Format_ARGB32_Premultiplied);
  const int width = image.width(), height = image.height();
  AllocatePicture(picture, width, height);
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    std::uint32_t* out = picture.pixels.data() + std::size_t(y) * width;
    for (int x = 0; x < width; ++x) {
      out[x] = line[x] & 0xFFFFFF;  // premultiplied 0xAARRGGBB
    }
  }
  return {};
}

}  // namespace pavona
