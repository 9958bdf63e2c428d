#include "cli/png_output.h"

#include <QBuffer>
#include <QImage>

namespace pavona::cli {

std::vector<std::uint8_t> EncodePng(const Picture& picture)
{
  QImage image(PictureWidth, PictureHeight, QImage::Format_RGB32);
  for (int y = 0; y < PictureHeight; ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < PictureWidth; ++x) {
      row[x] = 0xFF000000u | picture[PixelIndex(x, y)];
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return {bytes.begin(), bytes.end()};
}

}  // namespace pavona::cli
