#pragma once

#include <QScrollArea>

namespace pavona {

// The scrolled area of the main window that holds its pictures: larger
// scales than the window has room for are scrolled. It says when its size
// changes, so that a scale chosen to fit the space can follow.
class PictureArea : public QScrollArea {
  Q_OBJECT
 public:
  explicit PictureArea(QWidget* parent = nullptr);

  QSize sizeHint() const override;

 signals:
  void Resized();

 protected:
  void resizeEvent(QResizeEvent* event) override;
};

}  // namespace pavona
