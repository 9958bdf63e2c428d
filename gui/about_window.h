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

  PictureView* Image1;
  QLabel* Label1;
  QPushButton* BitBtn1;  // "OK"
};

}  // namespace pavona
