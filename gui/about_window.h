#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace pavona {

class PictureView;

// The About window, shown modally from the main menu.
class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  explicit AboutWindow(QWidget* parent = nullptr);

  PictureView* pictureView;
  QLabel* buildLabel;     // "Version 0.1": the project's version
  QLabel* licenceLabel;   // the program's name and its licence
  QPushButton* okButton;  // "OK"
};

}  // namespace pavona
