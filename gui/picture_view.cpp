#include "gui/picture_view.h"

#include <QPainter>
#include <algorithm>

namespace pavona {

QImage ImageFromPixels(std::span<const std::uint32_t> pixels, int width, int height)
{
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      line[x] = 0xFF000000u | pixels[std::size_t(y) * width + x];
    }
  }
  return image;
}

QImage ImageFromPicture(const Picture& picture)
{
  return ImageFromPixels(picture, PictureWidth, PictureHeight);
}

Picture PictureFromImage(const QImage& image)
{
  const QImage frame = image.convertToFormat(QImage::Format_RGB32);
  Picture picture{};
  const int width = std::min(frame.width(), PictureWidth);
  const int height = std::min(frame.height(), PictureHeight);
  for (int y = 0; y < height; ++y) {
    const auto* line = reinterpret_cast<const std::uint32_t*>(frame.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      picture[PixelIndex(x, y)] = line[x] & 0xFFFFFFu;
    }
  }
  return picture;
}

PictureView::PictureView(int width, int height, int imageWidth, int imageHeight, QWidget* parent)
    : QWidget(parent),
      image_(imageWidth, imageHeight, QImage::Format_RGB32),
      unscaledSize_(width, height)
{
  image_.fill(Qt::black);
  setFixedSize(width, height);
  // The image covers its area completely, so Qt need not clear it first.
  if (width == imageWidth && height == imageHeight) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }
}

void PictureView::SetImage(const QImage& image)
{
  image_.fill(Qt::black);
  DrawImage(image, 0, 0);
}

void PictureView::DrawImage(const QImage& image, int x, int y)
{
  {
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, image);
  }
  update();
}

void PictureView::Fill(std::uint32_t colour)
{
  image_.fill(QColor::fromRgb(0xFF000000u | colour));
  update();
}

void PictureView::ShowPicture(const Picture& picture)
{
  ShowRows(picture, 0, PictureHeight);
}

void PictureView::ShowRows(const Picture& picture, int firstRow, int rowCount)
{
  const int first = std::clamp(firstRow, 0, PictureHeight);
  const int last = std::clamp(firstRow + rowCount, first, PictureHeight);
  ShowRowPixels(std::span(picture).subspan(PixelIndex(0, first), PixelIndex(0, last - first)),
                first);
}

void PictureView::ShowRowPixels(std::span<const std::uint32_t> rows, int firstRow)
{
  const int rowCount = int(rows.size()) / PictureWidth;
  const int first = std::clamp(firstRow, 0, image_.height());
  const int last = std::clamp(firstRow + rowCount, first, image_.height());
  const int width = std::min(PictureWidth, image_.width());
  for (int y = first; y < last; ++y) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y));
    const std::uint32_t* row = rows.data() + std::size_t(y - firstRow) * PictureWidth;
    for (int x = 0; x < width; ++x) {
      line[x] = 0xFF000000u | row[x];
    }
  }
  update(WidgetRect(QRect(0, first, width, last - first)));
}

std::uint32_t PictureView::PixelAt(int x, int y) const
{
  return image_.pixel(x, y) & 0xFFFFFFu;
}

void PictureView::SetScale(ViewScale scale)
{
  scale_ = scale;
  setFixedSize(ScaledSize(unscaledSize_, scale));
  update();
}

QPointF PictureView::MapToImage(QPointF widgetPoint) const
{
  const QSizeF scaled = ExactScaledSize(image_.size(), scale_);
  return {widgetPoint.x() * image_.width() / scaled.width(),
          widgetPoint.y() * image_.height() / scaled.height()};
}

// Rounded outwards, so that a repaint covers every pixel that may change.
QRect PictureView::WidgetRect(QRect imageRect) const
{
  const QSizeF scaled = ExactScaledSize(image_.size(), scale_);
  const double x = double(scaled.width()) / image_.width();
  const double y = double(scaled.height()) / image_.height();
  const QRectF rect(imageRect.x() * x, imageRect.y() * y, imageRect.width() * x,
                    imageRect.height() * y);
  return rect.toAlignedRect();
}

// Without smooth transformation the painter scales by repeating pixels, which
// keeps them crisp.
void PictureView::paintEvent(QPaintEvent*)
{
  QPainter painter(this);
  if (scale_ == ViewScale{}) {
    painter.drawImage(0, 0, image_);
    return;
  }
  // The exact size, not the widget's rounded one: each picture pixel then
  // covers whole screen pixels.
  painter.drawImage(QRectF(QPointF(0, 0), ExactScaledSize(image_.size(), scale_)), image_);
}

}  // namespace pavona
