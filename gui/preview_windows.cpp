#include "gui/preview_windows.h"

#include <QFrame>
#include <QPushButton>
#include <QTimer>

#include "gui/picture_view.h"

namespace pavona {
namespace {

QFrame* MakePanel(const char* name, QWidget* parent)
{
  auto* panel = new QFrame(parent);
  panel->setObjectName(name);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

}  // namespace

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
      Panel1(MakePanel("Panel1", this)),
      Image1(new PictureView(320, 200, 320, 200, Panel1)),
      Panel2(MakePanel("Panel2", this)),
      Image2(new PictureView(329, 201, 320, 200, Panel2)),
      BitBtn1(new QPushButton("Close", this))
{
  setObjectName("Form3");
  setWindowTitle("Field Preview");
  setFixedSize(699, 279);
  Image1->setObjectName("Image1");
  Image2->setObjectName("Image2");
  BitBtn1->setObjectName("BitBtn1");

  Panel1->setGeometry(8, 8, 337, 217);
  Image1->move(8, 8);
  Panel2->setGeometry(353, 8, 338, 217);
  Image2->move(4, 8);
  BitBtn1->setGeometry(699 - 8 - 90, 279 - 8 - 30, 90, 30);
  connect(BitBtn1, &QPushButton::clicked, this, &QWidget::hide);
}

InterlacedPreviewWindow::InterlacedPreviewWindow(QWidget* parent)
    : QWidget(parent, Qt::Window),
      Panel1(MakePanel("Panel1", this)),
      Image1(new PictureView(320, 200, 320, 200, Panel1)),
      Image2(new PictureView(320, 200, 320, 200, Panel1)),
      Button1(new QPushButton("Close", this)),
      Timer1(new QTimer(this))
{
  setObjectName("Form4");
  setWindowTitle("Interlaced Preview");
  setFixedSize(345, 279);
  Image1->setObjectName("Image1");
  Image2->setObjectName("Image2");
  Button1->setObjectName("Button1");
  Timer1->setObjectName("Timer1");

  Panel1->setGeometry(4, 4, 337, 217);
  Image1->move(8, 8);
  Image2->move(8, 8);
  Image2->raise();
  Button1->setGeometry(345 - 8 - 90, 279 - 8 - 30, 90, 30);
  connect(Button1, &QPushButton::clicked, this, &QWidget::hide);

  // The timer runs from start-up to exit, whether the window is shown or not.
  Timer1->setInterval(TickMilliseconds);
  connect(Timer1, &QTimer::timeout, this, &InterlacedPreviewWindow::Tick);
  Timer1->start();
}

void InterlacedPreviewWindow::Tick()
{
  if (showFirstImage_) {
    showFirstImage_ = false;
    Image1->setVisible(true);
    Image2->setVisible(false);
  } else {
    showFirstImage_ = true;
    Image1->setVisible(false);
    Image2->setVisible(true);
  }
}

}  // namespace pavona
