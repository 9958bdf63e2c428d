#pragma once

#include <QWidget>

#include "gui/picture_scaling.h"

class QFrame;
class QPushButton;
class QTimer;

namespace pavona {

class PictureView;

// Places a secondary window centred on its owner (nothing when it has none).
void CentreOn(QWidget* window, const QWidget* owner);
// Shows a secondary window centred on its owner, without making it modal.
void ShowCentredOn(QWidget* window, const QWidget* owner);

// Whether a window of this size fits on the screen it is on (or would be
// shown on); true when there is no screen to ask.
bool FitsItsScreen(const QWidget* window);

// The two interlace fields side by side.
class FieldPreviewWindow : public QWidget {
  Q_OBJECT
 public:
  explicit FieldPreviewWindow(QWidget* parent = nullptr);

  // Shows the fields at this scale, or at the largest smaller factor with
  // which the window fits its screen; the window takes the size it needs.
  void SetViewScale(ViewScale scale);

  QFrame* field1Panel;
  PictureView* field1View;  // field 1
  QFrame* field2Panel;
  PictureView* field2View;   // field 2 in its top-left 320 x 200
  QPushButton* closeButton;  // "Close"

 private:
  void Arrange(ViewScale scale);
};

// The two interlace fields shown in turn at the same place, every timer tick,
// so the screen blends them roughly as a TV shows the C64's alternate frames.
class InterlacedPreviewWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int TickMilliseconds = 10;

  explicit InterlacedPreviewWindow(QWidget* parent = nullptr);

  // As for the field preview.
  void SetViewScale(ViewScale scale);

  // One timer tick: shows the image whose turn it is.
  void Tick();
  bool showFirstImage() const { return showFirstImage_; }

  QFrame* fieldsPanel;
  PictureView* field1View;   // field 1
  PictureView* field2View;   // field 2, on top of field 1
  QPushButton* closeButton;  // "Close"
  QTimer* flickerTimer;

 private:
  void Arrange(ViewScale scale);

  bool showFirstImage_ = false;
};

}  // namespace pavona
