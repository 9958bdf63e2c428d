#pragma once

#include <QObject>
#include <QPointF>
#include <QSize>

#include "framing/placement.h"

class QCheckBox;
class QEvent;
class QGroupBox;
class QRadioButton;
class QScrollBar;
class QSlider;
class QSpinBox;
class QWidget;

namespace pavona {

class PictureView;

// The "Placement" group beside the source frame's scroll bars.
struct PlacementControls {
  QGroupBox* group;
  QRadioButton* cutout;  // "Cut-out 1:1"
  QRadioButton* fit;
  QRadioButton* fill;
  // The zoom in percent of the picture's size in its file, between the whole
  // picture fitting the frame and 1:1; the two show one value.
  QSlider* zoomSlider;
  QSpinBox* zoomField;
  QCheckBox* squarePixelsBox;  // off: the C64's PAL pixel shape
};

// Where the loaded picture lies in the source frame, as the placement group,
// the scroll bars and the mouse on the source view set it. The scroll bars
// hold the pans (Placement::panX and panY, the frame's top-left corner on the
// scaled picture), so that their arrows, trough clicks and keys move the view
// the way they point: for a cut-out, the position of the cut-out in the
// picture. Dragging the picture pans it, the wheel zooms around the point
// under the mouse (not in Cut-out, which is always 1:1).
class SourcePlacement : public QObject {
  Q_OBJECT
 public:
  SourcePlacement(PlacementControls& controls, QScrollBar* horizontal, QScrollBar* vertical,
                  PictureView* view, QWidget* groupParent);

  // A picture of fileWidth x fileHeight is shown: the mode's own scale,
  // centred (Cut-out: its top-left corner).
  void StartPicture(int fileWidth, int fileHeight);
  // No picture to place (the test picture is shown): the pan ranges close.
  void ForgetPicture();
  bool HasPicture() const { return fileWidth_ > 0; }
  QSize FileSize() const { return {fileWidth_, fileHeight_}; }

  // Selects a mode and pixel shape, as the user would.
  void Choose(FitMode mode, PixelAspect aspect);
  // The placement the controls show.
  Placement Current() const;
  // The part of the frame the graphic mode shows, which Fit and Fill fill: a
  // fitted or filled picture is placed afresh into a new one.
  void SetArea(FrameArea area);
  // The mode's caption, and "square pixels" where they apply ("Fill").
  QString Description() const;

 signals:
  // The user changed the placement of a picture; not sent by StartPicture
  // and ForgetPicture.
  void Changed();
  // The mode or the pixel shape changed (with or without a picture).
  void ModeChanged();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateGroup(QWidget* parent);
  void ConnectControls();
  FitMode SelectedMode() const;
  PixelAspect SelectedAspect() const;
  // Shows `placement` in the controls without their change handlers.
  void Show(const Placement& placement);
  void RestartPlacement();
  void ZoomTo(int percent, QPointF anchor);
  void PanBy(QPointF framePixels);
  bool ArrowKeyEvent(QEvent* event);
  bool DragEvent(QEvent* event);
  bool WheelEvent(QEvent* event);

  PlacementControls& c_;
  QScrollBar* horizontal_;
  QScrollBar* vertical_;
  PictureView* view_;
  FrameArea area_;
  int fileWidth_ = 0;
  int fileHeight_ = 0;
  int scalePercent_ = 0;  // 0: the mode's own scale
  bool dragging_ = false;
  QPointF dragPoint_;      // the frame point last under the mouse
  QPointF dragCarry_;      // the part of the drag not yet panned, under a frame pixel
  double wheelCarry_ = 0;  // wheel steps not yet zoomed (touch pads send fractions)
};

}  // namespace pavona
