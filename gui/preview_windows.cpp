#include "gui/preview_windows.h"

#include <QFrame>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "gui/picture_view.h"

namespace pavona {
namespace {

// The field preview's second view is 9 pixels wider and one row taller than
// the field it shows, which sits in its top-left corner with the room to
// the right and below left empty. Its panel is sized from the view, so
// these make the 699 x 279 window (at 1:1) that the preview has always had.
constexpr int Field2ViewWidth = PictureWidth + 9;
constexpr int Field2ViewHeight = PictureHeight + 1;

QFrame* MakePanel(const char* name, QWidget* parent)
{
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

// Tries the factors from the one asked for down to 1:1 until the window fits.
template <typename Arrange>
void ArrangeToFitScreen(const QWidget* window, ViewScale scale, Arrange arrange)
{
  for (;;) {
    arrange(scale);
    if (scale.factor == 1 || FitsItsScreen(window)) {
      return;
    }
    --scale.factor;
  }
}

// The margins around the views and the "Close" button under them.
constexpr int Margin = 8;
constexpr int ButtonWidth = 90;
constexpr int ButtonHeight = 30;
// The panels' height to the window's: the margins, a gap, the button.
constexpr int BelowPanels = 62;

void PlaceCloseButton(QPushButton* button, QSize window)
{
  button->setGeometry(window.width() - Margin - ButtonWidth,
                      window.height() - Margin - ButtonHeight, ButtonWidth, ButtonHeight);
}

}  // namespace

bool FitsItsScreen(const QWidget* window)
{
  const QScreen* screen = window->screen();
  if (screen == nullptr) {
    return true;
  }
  const QSize space = screen->availableGeometry().size();
  return window->width() <= space.width() && window->height() <= space.height();
}

void CentreOn(QWidget* window, const QWidget* owner)
{
  if (owner != nullptr) {
    const QRect frame = owner->frameGeometry();
    window->move(frame.center() - QPoint(window->width() / 2, window->height() / 2));
  }
}

void ShowCentredOn(QWidget* window, const QWidget* owner)
{
  CentreOn(window, owner);
  window->show();
  window->raise();
  window->activateWindow();
}

FieldPreviewWindow::FieldPreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      field1Panel(MakePanel("field1Panel", this)),
      field1View(
          new PictureView(PictureWidth, PictureHeight, PictureWidth, PictureHeight, field1Panel)),
      field2Panel(MakePanel("field2Panel", this)),
      field2View(new PictureView(Field2ViewWidth, Field2ViewHeight, PictureWidth, PictureHeight,
                                 field2Panel)),
      closeButton(new QPushButton("Close", this))
{
  setObjectName("fieldPreviewWindow");
  setWindowTitle("Field Preview");
  field1View->setObjectName("field1View");
  field2View->setObjectName("field2View");
  closeButton->setObjectName("closeButton");
  Arrange(ViewScale{});
  connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
}

void FieldPreviewWindow::SetViewScale(ViewScale scale)
{
  ArrangeToFitScreen(this, scale, [this](ViewScale tried) { Arrange(tried); });
}

// At 1:1 the window is 699 x 279; the second view sits a little off centre
// in its panel and is larger than its field, as it always was.
void FieldPreviewWindow::Arrange(ViewScale scale)
{
  field1View->SetScale(scale);
  field2View->SetScale(scale);
  const QSize view1 = field1View->size();
  const QSize view2 = field2View->size();
  const int panelHeight = std::max(view1.height() + 17, view2.height() + 16);
  field1Panel->setGeometry(Margin, Margin, view1.width() + 17, panelHeight);
  field1View->move(8, 8);
  field2Panel->setGeometry(field1Panel->geometry().right() + 1 + Margin, Margin, view2.width() + 9,
                           panelHeight);
  field2View->move(4, 8);
  const QSize window(field2Panel->geometry().right() + 1 + Margin, panelHeight + BelowPanels);
  setFixedSize(window);
  PlaceCloseButton(closeButton, window);
}

InterlacedPreviewWindow::InterlacedPreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      fieldsPanel(MakePanel("fieldsPanel", this)),
      field1View(new PictureView(320, 200, 320, 200, fieldsPanel)),
      field2View(new PictureView(320, 200, 320, 200, fieldsPanel)),
      closeButton(new QPushButton("Close", this)),
      flickerTimer(new QTimer(this))
{
  setObjectName("interlacedPreviewWindow");
  setWindowTitle("Interlaced Preview");
  field1View->setObjectName("field1View");
  field2View->setObjectName("field2View");
  closeButton->setObjectName("closeButton");
  flickerTimer->setObjectName("flickerTimer");
  field2View->raise();
  Arrange(ViewScale{});
  connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

  // The timer runs from start-up to exit, whether the window is shown or not.
  flickerTimer->setInterval(TickMilliseconds);
  connect(flickerTimer, &QTimer::timeout, this, &InterlacedPreviewWindow::Tick);
  flickerTimer->start();
}

void InterlacedPreviewWindow::SetViewScale(ViewScale scale)
{
  ArrangeToFitScreen(this, scale, [this](ViewScale tried) { Arrange(tried); });
}

// At 1:1 the window is 345 x 279.
void InterlacedPreviewWindow::Arrange(ViewScale scale)
{
  field1View->SetScale(scale);
  field2View->SetScale(scale);
  const QSize view = field1View->size();
  fieldsPanel->setGeometry(4, 4, view.width() + 17, view.height() + 17);
  field1View->move(8, 8);
  field2View->move(8, 8);
  const QSize window(fieldsPanel->width() + Margin, fieldsPanel->height() + BelowPanels);
  setFixedSize(window);
  PlaceCloseButton(closeButton, window);
}

void InterlacedPreviewWindow::Tick()
{
  if (showFirstImage_) {
    showFirstImage_ = false;
    field1View->setVisible(true);
    field2View->setVisible(false);
  } else {
    showFirstImage_ = true;
    field1View->setVisible(false);
    field2View->setVisible(true);
  }
}

}  // namespace pavona
