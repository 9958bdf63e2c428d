#pragma once

#include <QRect>
#include <QSize>

#include "framing/placement.h"

namespace pavona {

// How the pictures are drawn on screen. Whole factors keep every pixel a
// crisp block; the PAL aspect narrows each pixel to PalPixelAspect (0.936)
// of its height, as a PAL screen shows the C64's pixels. Only the drawing changes: the pictures
// themselves, and everything converted from them, keep their pixels.
struct ViewScale {
  int factor = 1;
  bool palAspect = false;
  // Screen pixels per logical pixel of the screen drawn on (1.25 at 125 %
  // scaling). A picture pixel takes a whole number of screen pixels, or at
  // 125 % every fourth pixel would be drawn wider than the others.
  double devicePixelRatio = 1.0;

  bool operator==(const ViewScale&) const = default;
};

constexpr int MaximumScaleFactor = 4;

// The screen pixels one picture pixel takes each way (before the PAL
// aspect): the whole number nearest to the factor at the screen's scaling.
int ScreenPixelsPerPixel(ViewScale scale);

// The size `size` is drawn at, in logical pixels: exactly, and as a widget's
// size (a fraction of a pixel rounded).
QSizeF ExactScaledSize(QSize size, ViewScale scale);
QSize ScaledSize(QSize size, ViewScale scale);

// The largest factor, 1 to MaximumScaleFactor, whose size `sizeAt` (a
// function of the factor) lies within `space`; 1 when none does.
template <typename SizeAt>
int LargestFittingFactor(QSize space, SizeAt sizeAt)
{
  for (int factor = MaximumScaleFactor; factor > 1; --factor) {
    const QSize size = sizeAt(factor);
    if (size.width() <= space.width() && size.height() <= space.height()) {
      return factor;
    }
  }
  return 1;
}

// Where a window whose frame is `frame` goes when it grows to `wanted`: as
// large as that within `available` (a screen's area without its panels),
// never smaller than it is, and moved back into `available` where the
// growth would push it over an edge.
QRect GrownWindowFrame(QRect frame, QSize wanted, QRect available);

}  // namespace pavona
