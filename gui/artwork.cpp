#include "gui/artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "colour/palettes.h"

namespace pavona {
namespace {

QColor C64Colour(int number)
{
  return QColor::fromRgb(0xFF000000u | PaletteColours(PaletteId::Pepto)[number]);
}

// 4 x 4 Bayer thresholds: the classic ordered dither, so the gradients look
// like something a C64 could show.
constexpr std::array<int, 16> Bayer4 = {0, 8, 2, 10, 12, 4, 14, 6, 3, 11, 1, 9, 15, 7, 13, 5};

// Fills the image with a dither from colour `from` (weight 0) to `to`
// (weight 16); weight(x, y) gives the share of `to` in 0..16.
template <typename Weight>
void DitherGradient(QImage& image, QColor from, QColor to, Weight weight)
{
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const bool useTo = weight(x, y) > Bayer4[(y % 4) * 4 + x % 4];
      line[x] = (useTo ? to : from).rgb();
    }
  }
}

void DrawFeatherEye(QPainter& painter, QPointF centre, qreal width, qreal height)
{
  // Outside in: bronze fringe, gold, green, turquoise, blue, and the dark
  // heart of the eye.
  const int rings[] = {8, 7, 5, 3, 14, 6, 0};
  const qreal scales[] = {1.0, 0.86, 0.74, 0.6, 0.47, 0.34, 0.18};
  painter.setPen(Qt::NoPen);
  for (std::size_t i = 0; i < std::size(rings); ++i) {
    const qreal w = width * scales[i];
    const qreal h = height * scales[i];
    // The inner rings sit a little low, as on a real feather.
    const QPointF c = centre + QPointF(0, (height - h) * 0.12);
    painter.setBrush(C64Colour(rings[i]));
    painter.drawEllipse(c, w / 2, h / 2);
  }
}

}  // namespace

QImage DrawBanner(int width, int height)
{
  QImage image(width, height, QImage::Format_RGB32);
  // Blue fading into black towards the right.
  DitherGradient(image, C64Colour(6), C64Colour(0),
                 [width](int x, int) { return 1 + x * 17 / width; });

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);

  // A thin raster bar of all 16 colours along the bottom edge.
  const int barHeight = 4;
  for (int n = 0; n < 16; ++n) {
    const int x0 = n * width / 16;
    const int x1 = (n + 1) * width / 16;
    painter.fillRect(x0, height - barHeight, x1 - x0, barHeight, C64Colour(n));
  }

  DrawFeatherEye(painter, QPointF(42, (height - barHeight) / 2.0), 46, 62);

  QFont title;
  title.setPixelSize(38);
  title.setBold(true);
  painter.setFont(title);
  painter.setPen(C64Colour(14));
  const int textX = 80;
  painter.drawText(QRect(textX + 2, 4, width - textX, 46), Qt::AlignLeft | Qt::AlignVCenter,
                   "Pavona");
  painter.setPen(C64Colour(1));
  painter.drawText(QRect(textX, 2, width - textX, 46), Qt::AlignLeft | Qt::AlignVCenter, "Pavona");

  QFont subtitle;
  subtitle.setPixelSize(15);
  painter.setFont(subtitle);
  painter.setPen(C64Colour(15));
  painter.drawText(QRect(textX + 2, 48, width - textX, height - 48 - barHeight),
                   Qt::AlignLeft | Qt::AlignTop,
                   "Hi-FLI Convertor  \u2022  photos to Commodore 64 hires pictures");
  return image;
}

QImage DrawAboutPicture(int width, int height)
{
  QImage image(width, height, QImage::Format_RGB32);
  // Black at the top fading into blue at the bottom.
  DitherGradient(image, C64Colour(0), C64Colour(6),
                 [height](int, int y) { return y * 17 / height; });

  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);

  // The shaft, then the eye over it.
  const QPointF eye(width / 2.0, height * 0.4);
  QPainterPath shaft;
  shaft.moveTo(eye);
  shaft.cubicTo(eye + QPointF(4, height * 0.25), eye + QPointF(-6, height * 0.4),
                QPointF(width / 2.0 - 10, height - 18));
  painter.setPen(QPen(C64Colour(9), 2));
  painter.drawPath(shaft);
  DrawFeatherEye(painter, eye, width * 0.62, height * 0.6);

  QFont name;
  name.setPixelSize(14);
  name.setBold(true);
  painter.setFont(name);
  painter.setPen(C64Colour(1));
  painter.drawText(QRect(0, height - 18, width, 16), Qt::AlignCenter, "Pavona");
  return image;
}

// The feather's eye of the banner, alone on a transparent square.
QImage DrawIcon(int size)
{
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  // The banner's eye is three quarters as wide as it is tall.
  DrawFeatherEye(painter, QPointF(size / 2.0, size / 2.0), size * 0.72, size * 0.96);
  return image;
}

}  // namespace pavona
