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
      field1Panel(MakePanel("field1Panel", this)),
      field1View(new PictureView(320, 200, 320, 200, field1Panel)),
      field2Panel(MakePanel("field2Panel", this)),
      field2View(new PictureView(329, 201, 320, 200, field2Panel)),
      closeButton(new QPushButton("Close", this))
{
  setObjectName("fieldPreviewWindow");
  setWindowTitle("Field Preview");
  setFixedSize(699, 279);
  field1View->setObjectName("field1View");
  field2View->setObjectName("field2View");
  closeButton->setObjectName("closeButton");

  field1Panel->setGeometry(8, 8, 337, 217);
  field1View->move(8, 8);
  field2Panel->setGeometry(353, 8, 338, 217);
  field2View->move(4, 8);
  closeButton->setGeometry(699 - 8 - 90, 279 - 8 - 30, 90, 30);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);
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
  setFixedSize(345, 279);
  field1View->setObjectName("field1View");
  field2View->setObjectName("field2View");
  closeButton->setObjectName("closeButton");
  flickerTimer->setObjectName("flickerTimer");

  fieldsPanel->setGeometry(4, 4, 337, 217);
  field1View->move(8, 8);
  field2View->move(8, 8);
  field2View->raise();
  closeButton->setGeometry(345 - 8 - 90, 279 - 8 - 30, 90, 30);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

  // The timer runs from start-up to exit, whether the window is shown or not.
  flickerTimer->setInterval(TickMilliseconds);
  connect(flickerTimer, &QTimer::timeout, this, &InterlacedPreviewWindow::Tick);
  flickerTimer->start();
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
