#include "gui/about_window.h"

#include <QLabel>
#include <QPushButton>

#include "gui/artwork.h"
#include "gui/picture_view.h"

namespace pavona {

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent),
      Image1(new PictureView(130, 140, 130, 140, this)),
      Label1(new QLabel("Build 06/11/06", this)),
      BitBtn1(new QPushButton("OK", this))
{
  setObjectName("Form2");
  setWindowTitle("About");
  setFixedSize(138, 212);
  Image1->setObjectName("Image1");
  Label1->setObjectName("Label1");
  BitBtn1->setObjectName("BitBtn1");

  Image1->SetImage(DrawAboutPicture(130, 140));
  Image1->move(4, 4);
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setGeometry(4, 148, 130, 18);
  BitBtn1->setGeometry(29, 174, 80, 28);
  BitBtn1->setDefault(true);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace pavona
