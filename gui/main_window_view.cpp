// The "View" menu: the scale the pictures are drawn at, and the PAL aspect.
// Only the drawing changes; the pictures keep their 320 x 200 pixels.
#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <algorithm>

#include "gui/main_window.h"
#include "gui/picture_area.h"
#include "gui/picture_view.h"
#include "gui/preview_windows.h"

namespace pavona {
namespace {

const QSize UnscaledPicture(PictureWidth, PictureHeight);

// At 1:1 the pictures always fit, give or take the pixel by which the
// start-up size squeezes them; that pixel is not worth a scroll bar.
void SetScrollBars(PictureArea* area, ViewScale scale)
{
  const Qt::ScrollBarPolicy policy =
      scale.factor == 1 ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded;
  area->setHorizontalScrollBarPolicy(policy);
  area->setVerticalScrollBarPolicy(policy);
}

}  // namespace

void MainWindow::CreateViewMenu()
{
  MainWindowControls& c = ui_;
  c.viewMenu = menuBar()->addMenu("View");
  c.viewMenu->setObjectName("viewMenu");
  auto* scales = new QActionGroup(this);
  for (int factor = 1; factor <= MaximumScaleFactor; ++factor) {
    QAction* action = c.viewMenu->addAction(QString("%1x").arg(factor));
    action->setObjectName(QString("scale%1xAction").arg(factor));
    c.scaleActions[factor - 1] = action;
  }
  c.fitScaleAction = c.viewMenu->addAction("Fit");
  c.fitScaleAction->setObjectName("fitScaleAction");
  c.fitScaleAction->setToolTip("The largest whole factor that fits the window");
  for (QAction* action : c.viewMenu->actions()) {
    action->setCheckable(true);
    scales->addAction(action);
  }
  c.scaleActions[0]->setChecked(true);
  c.viewMenu->addSeparator();
  c.palAspectAction = c.viewMenu->addAction("PAL aspect");
  c.palAspectAction->setObjectName("palAspectAction");
  c.palAspectAction->setCheckable(true);
  c.palAspectAction->setToolTip("Pixels 0.936 as wide as tall, as a PAL screen shows them");

  c.shownOnlyAction = c.viewMenu->addAction("As the C64 shows it");
  c.shownOnlyAction->setObjectName("shownOnlyAction");
  c.shownOnlyAction->setCheckable(true);
  c.shownOnlyAction->setToolTip(
      "The result black where the C64 program shows nothing; Export PNG writes it so too");

  connect(scales, &QActionGroup::triggered, this, [this] {
    ApplyPictureScale();
    GrowToShowPictures();
  });
  connect(c.palAspectAction, &QAction::toggled, this, &MainWindow::ApplyPictureScale);
  connect(c.shownOnlyAction, &QAction::toggled, this, &MainWindow::ShowPreviousResult);
}

ViewScale MainWindow::PictureScale() const
{
  const MainWindowControls& c = ui_;
  const bool pal = c.palAspectAction->isChecked();
  const double ratio = devicePixelRatioF();
  if (c.fitScaleAction->isChecked()) {
    return {LargestFittingFactor(c.pictureArea->maximumViewportSize(),
                                 [&](int factor) {
                                   return PictureContentSize({factor, pal, ratio});
                                 }),
            pal, ratio};
  }
  const auto chosen = std::find_if(c.scaleActions.begin(), c.scaleActions.end(),
                                   [](const QAction* action) { return action->isChecked(); });
  return {int(chosen - c.scaleActions.begin()) + 1, pal, ratio};
}

// Source and result lie side by side; what lies around them keeps its size.
QSize MainWindow::PictureContentSize(ViewScale scale) const
{
  const QSize growth = ScaledSize(UnscaledPicture, scale) - UnscaledPicture;
  return unscaledPictureContent_ + QSize(2 * growth.width(), growth.height());
}

// Called once the window is laid out, while the pictures are still at 1:1:
// the area never gets smaller than they can be squeezed, so that 1:1 is
// never scrolled.
void MainWindow::MeasurePictureArea()
{
  ensurePolished();
  // The area scrolls only when it is smaller than its content's minimum.
  unscaledPictureContent_ = ui_.pictureArea->widget()->minimumSizeHint();
  ui_.pictureArea->setMinimumSize(unscaledPictureContent_);
  SetScrollBars(ui_.pictureArea, ViewScale{});
  connect(ui_.pictureArea, &PictureArea::Resized, this, [this] {
    if (ui_.fitScaleAction->isChecked()) {
      ApplyPictureScale();
    }
  });
}

void MainWindow::ApplyPictureScale()
{
  const ViewScale scale = PictureScale();
  if (ui_.sourceView->Scale() == scale) {
    return;
  }
  SetScrollBars(ui_.pictureArea, scale);
  ui_.sourceView->SetScale(scale);
  ui_.resultView->SetScale(scale);
  fieldPreview_->SetViewScale(scale);
  interlacedPreview_->SetViewScale(scale);
}

// A maximised or full-screen window keeps its size; the pictures scroll.
void MainWindow::GrowToShowPictures()
{
  if (isMaximized() || isFullScreen()) {
    return;
  }
  const QSize missing = PictureContentSize(PictureScale()) - ui_.pictureArea->maximumViewportSize();
  const QSize wanted = size() + missing.expandedTo(QSize(0, 0));
  const QScreen* screen = this->screen();
  if (screen == nullptr) {
    resize(wanted);
    return;
  }
  const QSize decoration = frameGeometry().size() - size();
  const QRect frame =
      GrownWindowFrame(frameGeometry(), wanted + decoration, screen->availableGeometry());
  resize(frame.size() - decoration);
  move(frame.topLeft());
}

}  // namespace pavona
