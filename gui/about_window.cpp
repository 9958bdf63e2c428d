#include "gui/about_window.h"

#include <QLabel>
#include <QPushButton>

#include "gui/application_title.h"
#include "gui/artwork.h"
#include "gui/picture_view.h"

namespace pavona {

AboutWindow::AboutWindow(QWidget* parent)
    : QDialog(parent),
      pictureView(new PictureView(130, 140, 130, 140, this)),
      buildLabel(new QLabel(QString("Version ") + PAVONA_VERSION, this)),
      licenceLabel(new QLabel(
          QString(ApplicationTitle) + "\nFree software under the GNU GPL, version 3 or later",
          this)),
      okButton(new QPushButton("OK", this))
{
  setObjectName("aboutWindow");
  setWindowTitle("About");
  // Taller than the picture and version alone, for the name and licence.
  setFixedSize(138, 266);
  pictureView->setObjectName("pictureView");
  buildLabel->setObjectName("buildLabel");
  licenceLabel->setObjectName("licenceLabel");
  okButton->setObjectName("okButton");

  pictureView->SetImage(DrawAboutPicture(130, 140));
  pictureView->move(4, 4);
  buildLabel->setAlignment(Qt::AlignCenter);
  buildLabel->setGeometry(4, 148, 130, 18);
  licenceLabel->setAlignment(Qt::AlignCenter);
  licenceLabel->setWordWrap(true);
  licenceLabel->setGeometry(4, 168, 130, 58);
  okButton->setGeometry(29, 230, 80, 28);
  okButton->setDefault(true);
  connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace pavona
