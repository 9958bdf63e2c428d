#include "gui/picture_scaling.h"

#include <cmath>

namespace pavona {

QSize ScaledSize(QSize size, ViewScale scale)
{
  const double widthFactor = scale.factor * (scale.palAspect ? PalPixelAspect : 1.0);
  return {int(std::lround(size.width() * widthFactor)), size.height() * scale.factor};
}

}  // namespace pavona
