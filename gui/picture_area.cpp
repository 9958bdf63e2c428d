#include "gui/picture_area.h"

namespace pavona {

PictureArea::PictureArea(QWidget* parent) : QScrollArea(parent)
{
  setFrameShape(QFrame::NoFrame);
  // The pictures keep their size; the space around them is the area's.
  setWidgetResizable(true);
}

// Room for the pictures as they are, however large: QScrollArea's own hint
// is capped at a size that has nothing to do with them.
QSize PictureArea::sizeHint() const
{
  return widget() != nullptr ? widget()->sizeHint() : QScrollArea::sizeHint();
}

void PictureArea::resizeEvent(QResizeEvent* event)
{
  QScrollArea::resizeEvent(event);
  emit Resized();
}

}  // namespace pavona
