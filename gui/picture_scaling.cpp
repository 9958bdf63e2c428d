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

}  // namespace pavona
