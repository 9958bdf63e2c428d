#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <span>

#include "colour/picture.h"
#include "gui/picture_scaling.h"

namespace pavona {

// Pictures and tables hold 0x00RRGGBB; a QImage of Format_RGB32 holds
// 0xFFRRGGBB, so the conversion only sets or drops the alpha byte.
QImage ImageFromPixels(std::span<const std::uint32_t> pixels, int width, int height);
QImage ImageFromPicture(const Picture& picture);
// The top-left 320 x 200 of an image (black where it is smaller), 0x00RRGGBB.
Picture PictureFromImage(const QImage& image);

// An image shown in the top-left corner of a widget of fixed size, at 1:1
// or scaled up by a whole factor (the widget grows with it). Its pixels can
// be read back, unscaled, so the frame as shown is what gets converted.
class PictureView : public QWidget {
  Q_OBJECT
 public:
  // The widget is width x height; the image it holds is imageWidth x
  // imageHeight and starts black (a larger widget shows its background
  // around the image).
  PictureView(int width, int height, int imageWidth, int imageHeight, QWidget* parent = nullptr);

  const QImage& image() const { return image_; }
  // Replaces the image; it keeps its size (the new one is drawn at (0, 0),
  // clipped, over black).
  void SetImage(const QImage& image);
  // Draws an image into the shown one with its top-left corner at (x, y);
  // what it does not cover keeps its pixels.
  void DrawImage(const QImage& image, int x, int y);
  void Fill(std::uint32_t colour);

  // Shortcuts for the 320 x 200 frames.
  void ShowPicture(const Picture& picture);
  void ShowRows(const Picture& picture, int firstRow, int rowCount);
  // Whole rows of 320 pixels, the first of them drawn at row firstRow.
  void ShowRowPixels(std::span<const std::uint32_t> rows, int firstRow);
  Picture ShownPicture() const { return PictureFromImage(image_); }
  std::uint32_t PixelAt(int x, int y) const;  // 0x00RRGGBB

  // Draws the image, and sizes the widget, at this scale.
  void SetScale(ViewScale scale);
  ViewScale Scale() const { return scale_; }
  // The point of the image under a point of the widget, in image pixels
  // (fractions within a pixel; outside the image when the point is).
  QPointF MapToImage(QPointF widgetPoint) const;

  QSize sizeHint() const override { return size(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  // The part of the widget that shows a part of the image.
  QRect WidgetRect(QRect imageRect) const;

  QImage image_;
  QSize unscaledSize_;  // the widget's size at 1:1
  ViewScale scale_;
};

}  // namespace pavona
