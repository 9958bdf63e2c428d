#pragma once

#include <string_view>

#include "framing/placement.h"

namespace pavona {

// Changing a placement the way the window's controls do: starting a picture
// afresh, zooming around a point of the frame and panning.

// A new picture in `mode` and `aspect`: the mode's own scale, centred (Cutout:
// the picture's top-left corner).
Placement StartingPlacement(FitMode mode, PixelAspect aspect, int fileWidth, int fileHeight,
                            FrameArea area = {});

// The zoom in whole percent of the picture's size in its file that the
// placement shows now (its own scale when scalePercent is 0), at least 1.
int ShownScalePercent(const Placement& placement, int fileWidth, int fileHeight);

// The zooms offered for a picture placed into `area` of the frame (the part
// the mode shows): from the whole picture fitting the area to 1:1, or to
// covering the area where that takes more (a picture smaller than it).
struct ZoomRange {
  int minimum = 100;
  int maximum = 100;
  friend bool operator==(const ZoomRange&, const ZoomRange&) = default;
};
ZoomRange ZoomRangeOf(PixelAspect aspect, int fileWidth, int fileHeight, FrameArea area = {});

// Why the zoom of a placement in `mode` cannot be changed, in a sentence for
// the zoom control's tooltip; empty when it can.
std::string_view WhyZoomIsFixed(FitMode mode, bool pictureLoaded);

// The placement at `percent`, panned so that the picture point under frame
// point (anchorX, anchorY) stays there as far as the new pan range allows.
Placement ZoomedPlacement(const Placement& placement, int percent, int fileWidth, int fileHeight,
                          double anchorX, double anchorY);

// The pans held inside their ranges for the placement's scale.
Placement ClampedPlacement(const Placement& placement, int fileWidth, int fileHeight);

}  // namespace pavona
