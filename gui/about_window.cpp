#include "gui/about_window.h"

#include <QLabel>
#include <QPushButton>

#include "gui/artwork.h"
#include "gui/picture_view.h"

namespace pavona {

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent),
      pictureView(new PictureView(130, 140, 130, 140, this)),
      buildLabel(new QLabel(QString("Version ") + PAVONA_VERSION, this)),
      okButton(new QPushButton("OK", this))
{
  setObjectName("aboutWindow");
  setWindowTitle("About");
  setFixedSize(138, 212);
  pictureView->setObjectName("pictureView");
  buildLabel->setObjectName("buildLabel");
  okButton->setObjectName("okButton");

  pictureView->SetImage(DrawAboutPicture(130, 140));
  pictureView->move(4, 4);
  buildLabel->setAlignment(Qt::AlignCenter);
  buildLabel->setGeometry(4, 148, 130, 18);
  okButton->setGeometry(29, 174, 80, 28);
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace pavona
