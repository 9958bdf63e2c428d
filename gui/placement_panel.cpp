#include "gui/placement_panel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "framing/placement_zoom.h"
#include "gui/applicable_control.h"
#include "gui/picture_view.h"

namespace pavona {

namespace {

// One wheel notch zooms by a tenth, so that ten notches about cover the step
// from a fitted photo to twice its size.
constexpr double ZoomPerWheelStep = 1.1;
constexpr int WheelStepAngle = 120;  // eighths of a degree in one notch

template <typename Control>
Control* Named(Control* control, const char* name)
{
  control->setObjectName(name);
  return control;
}

}  // namespace

SourcePlacement::SourcePlacement(PlacementControls& controls, QScrollBar* horizontal,
                                 QScrollBar* vertical, PictureView* view, QWidget* groupParent)
    : QObject(groupParent), c_(controls), horizontal_(horizontal), vertical_(vertical), view_(view)
{
  CreateGroup(groupParent);
  ConnectControls();
  view_->installEventFilter(this);
  horizontal_->installEventFilter(this);
}

void SourcePlacement::CreateGroup(QWidget* parent)
{
  c_.group = Named(new QGroupBox("Placement", parent), "placement.group");
  QGroupBox* box = c_.group;
  c_.cutout = Named(new QRadioButton("Cut-out 1:1", box), "placement.cutout");
  c_.fit = Named(new QRadioButton("Fit", box), "placement.fit");
  c_.fill = Named(new QRadioButton("Fill", box), "placement.fill");
  c_.zoomSlider = Named(new QSlider(Qt::Horizontal, box), "placement.zoomSlider");
  c_.zoomField = Named(new QSpinBox(box), "placement.zoomField");
  c_.squarePixelsBox = Named(new QCheckBox("Square pixels", box), "placement.squarePixelsBox");
  c_.cutout->setChecked(true);
  c_.zoomField->setSuffix(" %");
  c_.zoomField->setKeyboardTracking(false);  // zoom once the number is typed, not per digit
  c_.zoomField->setToolTip("Zoom: percent of the picture's own size");
  c_.zoomSlider->setToolTip(c_.zoomField->toolTip());
  c_.squarePixelsBox->setToolTip("Off: scaled for the C64's narrower PAL pixels");
  c_.zoomSlider->setRange(100, 100);
  c_.zoomField->setRange(100, 100);
  c_.zoomField->setValue(100);
  ShowApplicability(c_.zoomSlider, WhyZoomIsFixed(FitMode::Cutout, false));
  ShowApplicability(c_.zoomField, WhyZoomIsFixed(FitMode::Cutout, false));

  // Two rows, to keep the window short: the placements and the pixel shape,
  // then the zoom.
  auto* modes = new QHBoxLayout;
  modes->setSpacing(8);
  for (QWidget* control : std::initializer_list<QWidget*>{c_.cutout, c_.fit, c_.fill}) {
    modes->addWidget(control);
  }
  modes->addStretch();
  modes->addWidget(c_.squarePixelsBox);
  auto* zoom = new QHBoxLayout;
  zoom->setSpacing(4);
  zoom->addWidget(new QLabel("Zoom", box));
  zoom->addWidget(c_.zoomSlider, 1);
  zoom->addWidget(c_.zoomField);
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(5, 2, 5, 3);
  layout->setSpacing(0);
  layout->addLayout(modes);
  layout->addLayout(zoom);
}

void SourcePlacement::ConnectControls()
{
  for (QRadioButton* button : {c_.cutout, c_.fit, c_.fill}) {
    connect(button, &QRadioButton::toggled, this, [this](bool checked) {
      if (checked) {
        RestartPlacement();
      }
    });
  }
  connect(c_.squarePixelsBox, &QCheckBox::toggled, this, &SourcePlacement::RestartPlacement);
  // The field zooms; the slider only moves the field.
  connect(c_.zoomSlider, &QSlider::valueChanged, c_.zoomField, &QSpinBox::setValue);
  connect(c_.zoomField, &QSpinBox::valueChanged, this, [this](int percent) {
    ZoomTo(percent, QPointF(PictureWidth / 2.0, PictureHeight / 2.0));
  });
  for (QScrollBar* bar : {horizontal_, vertical_}) {
    connect(bar, &QScrollBar::valueChanged, this, [this] {
      if (HasPicture()) {
        emit Changed();
      }
    });
  }
}

void SourcePlacement::Choose(FitMode mode, PixelAspect aspect)
{
  c_.squarePixelsBox->setChecked(aspect == PixelAspect::Square);
  (mode == FitMode::Fit ? c_.fit : mode == FitMode::Fill ? c_.fill : c_.cutout)->setChecked(true);
}

FitMode SourcePlacement::SelectedMode() const
{
  if (c_.fit->isChecked()) {
    return FitMode::Fit;
  }
  return c_.fill->isChecked() ? FitMode::Fill : FitMode::Cutout;
}

PixelAspect SourcePlacement::SelectedAspect() const
{
  return c_.squarePixelsBox->isChecked() ? PixelAspect::Square : PixelAspect::Pal;
}

Placement SourcePlacement::Current() const
{
  Placement placement;
  placement.mode = SelectedMode();
  placement.aspect = SelectedAspect();
  placement.scalePercent = placement.mode == FitMode::Cutout ? 0 : scalePercent_;
  placement.panX = horizontal_->value();
  placement.panY = vertical_->value();
  placement.area = area_;
  return placement;
}

QString SourcePlacement::Description() const
{
  const FitMode mode = SelectedMode();
  if (mode == FitMode::Cutout) {
    return c_.cutout->text();
  }
  QString text = mode == FitMode::Fit ? c_.fit->text() : c_.fill->text();
  if (SelectedAspect() == PixelAspect::Square) {
    text += ", square pixels";
  }
  return text;
}

void SourcePlacement::StartPicture(int fileWidth, int fileHeight)
{
  fileWidth_ = std::max(0, fileWidth);
  fileHeight_ = std::max(0, fileHeight);
  Show(StartingPlacement(SelectedMode(), SelectedAspect(), fileWidth_, fileHeight_, area_));
  view_->setCursor(Qt::OpenHandCursor);
}

void SourcePlacement::ForgetPicture()
{
  fileWidth_ = 0;
  fileHeight_ = 0;
  dragging_ = false;
  Show(Placement{});
  view_->unsetCursor();
}

void SourcePlacement::Show(const Placement& placement)
{
  const QSignalBlocker blockHorizontal(horizontal_);
  const QSignalBlocker blockVertical(vertical_);
  const QSignalBlocker blockSlider(c_.zoomSlider);
  const QSignalBlocker blockField(c_.zoomField);
  const PlacementGeometry geometry = GeometryOfPlacement(placement, fileWidth_, fileHeight_);
  horizontal_->setRange(geometry.panX.minimum, geometry.panX.maximum);
  vertical_->setRange(geometry.panY.minimum, geometry.panY.maximum);
  horizontal_->setValue(placement.panX);
  vertical_->setValue(placement.panY);
  horizontal_->setEnabled(true);
  vertical_->setEnabled(true);

  scalePercent_ = placement.mode == FitMode::Cutout ? 0 : placement.scalePercent;
  const std::string_view whyFixed = WhyZoomIsFixed(placement.mode, HasPicture());
  const ZoomRange range =
      HasPicture() ? ZoomRangeOf(placement.aspect, fileWidth_, fileHeight_, area_) : ZoomRange{};
  const int percent = HasPicture() ? ShownScalePercent(placement, fileWidth_, fileHeight_) : 100;
  c_.zoomSlider->setRange(range.minimum, range.maximum);
  c_.zoomField->setRange(std::min(range.minimum, percent), std::max(range.maximum, percent));
  c_.zoomSlider->setValue(percent);
  c_.zoomField->setValue(percent);
  ShowApplicability(c_.zoomSlider, whyFixed);
  ShowApplicability(c_.zoomField, whyFixed);
}

// A new mode or pixel shape starts the picture afresh: the old zoom and pans
// mean something else there.
void SourcePlacement::RestartPlacement()
{
  if (HasPicture()) {
    Show(StartingPlacement(SelectedMode(), SelectedAspect(), fileWidth_, fileHeight_, area_));
    emit Changed();
  }
  emit ModeChanged();
}

void SourcePlacement::SetArea(FrameArea area)
{
  if (area == area_) {
    return;
  }
  area_ = area;
  if (HasPicture() && SelectedMode() != FitMode::Cutout) {
    Show(StartingPlacement(SelectedMode(), SelectedAspect(), fileWidth_, fileHeight_, area_));
    emit Changed();
  }
}

void SourcePlacement::ZoomTo(int percent, QPointF anchor)
{
  const Placement current = Current();
  if (!HasPicture() || current.mode == FitMode::Cutout) {
    return;
  }
  Show(ZoomedPlacement(current, percent, fileWidth_, fileHeight_, anchor.x(), anchor.y()));
  emit Changed();
}

// Moves the frame over the picture by whole frame pixels; the rest is kept
// for the next move, so that a slow drag on an enlarged view still pans.
void SourcePlacement::PanBy(QPointF framePixels)
{
  dragCarry_ += framePixels;
  const int dx = int(dragCarry_.x());
  const int dy = int(dragCarry_.y());
  dragCarry_ -= QPointF(dx, dy);
  if (dx == 0 && dy == 0) {
    return;
  }
  const QPoint before(horizontal_->value(), vertical_->value());
  {
    const QSignalBlocker blockHorizontal(horizontal_);
    const QSignalBlocker blockVertical(vertical_);
    horizontal_->setValue(before.x() + dx);
    vertical_->setValue(before.y() + dy);
  }
  if (QPoint(horizontal_->value(), vertical_->value()) != before) {  // not at an edge already
    emit Changed();
  }
}

// A horizontal scroll bar takes the left and right keys the opposite way by
// default (its controls are inverted, for the wheel's sake).
bool SourcePlacement::ArrowKeyEvent(QEvent* event)
{
  if (event->type() != QEvent::KeyPress) {
    return false;
  }
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Left && key != Qt::Key_Right) {
    return false;
  }
  horizontal_->triggerAction(key == Qt::Key_Right ? QAbstractSlider::SliderSingleStepAdd
                                                  : QAbstractSlider::SliderSingleStepSub);
  return true;
}

bool SourcePlacement::eventFilter(QObject* watched, QEvent* event)
{
  if (watched == horizontal_) {
    return ArrowKeyEvent(event) || QObject::eventFilter(watched, event);
  }
  if (watched != view_ || !HasPicture()) {
    return QObject::eventFilter(watched, event);
  }
  if (event->type() == QEvent::Wheel) {
    return WheelEvent(event);
  }
  return DragEvent(event) || QObject::eventFilter(watched, event);
}

// The picture follows the mouse: dragging it right shows more of its left side.
bool SourcePlacement::DragEvent(QEvent* event)
{
  switch (event->type()) {
    case QEvent::MouseButtonPress: {
      auto* press = static_cast<QMouseEvent*>(event);
      if (press->button() != Qt::LeftButton) {
        return false;
      }
      dragging_ = true;
      dragPoint_ = view_->MapToImage(press->position());
      dragCarry_ = {};
      view_->setCursor(Qt::ClosedHandCursor);
      return true;
    }
    case QEvent::MouseMove: {
      if (!dragging_) {
        return false;
      }
      const QPointF point = view_->MapToImage(static_cast<QMouseEvent*>(event)->position());
      PanBy(dragPoint_ - point);
      dragPoint_ = point;
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (!dragging_ || static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) {
        return false;
      }
      dragging_ = false;
      view_->setCursor(Qt::OpenHandCursor);
      return true;
    default:
      return false;
  }
}

// Zooms around the point under the mouse, by whole percent steps.
bool SourcePlacement::WheelEvent(QEvent* event)
{
  auto* wheel = static_cast<QWheelEvent*>(event);
  if (SelectedMode() == FitMode::Cutout) {
    return false;
  }
  const double steps = wheel->angleDelta().y() / double(WheelStepAngle) + wheelCarry_;
  const int wholeSteps = int(steps);
  wheelCarry_ = steps - wholeSteps;
  if (wholeSteps == 0) {
    return true;
  }
  const int current = ShownScalePercent(Current(), fileWidth_, fileHeight_);
  int target = int(std::lround(current * std::pow(ZoomPerWheelStep, wholeSteps)));
  if (target == current) {
    target += wholeSteps > 0 ? 1 : -1;
  }
  target = std::clamp(target, c_.zoomSlider->minimum(), c_.zoomSlider->maximum());
  if (target != current) {
    ZoomTo(target, view_->MapToImage(wheel->position()));
  }
  return true;
}

}  // namespace pavona
