#include "gui/picture_scaling.h"

#include <algorithm>
#include <cmath>

namespace pavona {

int ScreenPixelsPerPixel(ViewScale scale)
{
  return std::max(1, int(std::lround(scale.factor * scale.devicePixelRatio)));
}

QSizeF ExactScaledSize(QSize size, ViewScale scale)
{
  const double perPixel = ScreenPixelsPerPixel(scale) / scale.devicePixelRatio;
  const double aspect = scale.palAspect ? PalPixelAspect : 1.0;
  return {size.width() * perPixel * aspect, size.height() * perPixel};
}

QSize ScaledSize(QSize size, ViewScale scale)
{
  const QSizeF exact = ExactScaledSize(size, scale);
  return {int(std::lround(exact.width())), int(std::lround(exact.height()))};
}

QRect GrownWindowFrame(QRect frame, QSize wanted, QRect available)
{
  QRect grown(frame.topLeft(), wanted.boundedTo(available.size()).expandedTo(frame.size()));
  // Right and bottom first: a window larger than the area keeps its top-left
  // corner, and with it the menu and the title bar, in view.
  grown.moveRight(std::min(grown.right(), available.right()));
  grown.moveBottom(std::min(grown.bottom(), available.bottom()));
  grown.moveLeft(std::max(grown.left(), available.left()));
  grown.moveTop(std::max(grown.top(), available.top()));
  return grown;
}

}  // namespace pavona
