#include "framing/placement_zoom.h"

#include <algorithm>
#include <cmath>

namespace pavona {

namespace {

// Frame rows per picture row of a placement, from the scaled height: the
// scaled size is what the frame really shows.
double ShownScale(const Placement& placement, int fileWidth, int fileHeight)
{
  const PlacementGeometry geometry = GeometryOfPlacement(placement, fileWidth, fileHeight);
  return fileHeight > 0 ? double(geometry.scaledHeight) / fileHeight : 1.0;
}

Placement WithMode(FitMode mode, PixelAspect aspect, FrameArea area = {})
{
  Placement placement;
  placement.mode = mode;
  placement.aspect = aspect;
  placement.area = area;
  return placement;
}

// The pan that keeps the point `anchor` frame pixels into the frame on the
// same spot of the picture when its scaled side goes from oldSide to newSide.
int PanKeepingAnchor(int pan, int oldSide, int newSide, double anchor)
{
  const double share = (pan + anchor) / std::max(1, oldSide);
  return int(std::lround(share * newSide - anchor));
}

}  // namespace

Placement StartingPlacement(FitMode mode, PixelAspect aspect, int fileWidth, int fileHeight,
                            FrameArea area)
{
  Placement placement = WithMode(mode, aspect);
  placement.area = area;
  const PlacementGeometry geometry = GeometryOfPlacement(placement, fileWidth, fileHeight);
  placement.panX = geometry.centredPanX;
  placement.panY = geometry.centredPanY;
  return placement;
}

int ShownScalePercent(const Placement& placement, int fileWidth, int fileHeight)
{
  if (placement.mode != FitMode::Cutout && placement.scalePercent > 0) {
    return placement.scalePercent;
  }
  // Rounded towards the mode: a fitted picture's zoom is the lowest offered
  // (ZoomRangeOf rounds down too), a filled one's still covers the frame.
  const double percent = 100 * ShownScale(placement, fileWidth, fileHeight);
  const double whole = placement.mode == FitMode::Fill  ? std::ceil(percent - 1e-9)
                       : placement.mode == FitMode::Fit ? std::floor(percent + 1e-9)
                                                        : std::round(percent);
  return std::max(1, int(whole));
}

ZoomRange ZoomRangeOf(PixelAspect aspect, int fileWidth, int fileHeight, FrameArea area)
{
  if (fileWidth <= 0 || fileHeight <= 0) {
    return {};
  }
  // Fit's own scale stops at 1:1, so the whole-picture zoom is worked out
  // from its fraction of the fill scale, which is never capped.
  const double fill = ShownScale(WithMode(FitMode::Fill, aspect, area), fileWidth, fileHeight);
  const double stretch = aspect == PixelAspect::Pal ? 1.0 / PalPixelAspect : 1.0;
  const double fit = std::min(area.width / (fileWidth * stretch), double(area.height) / fileHeight);
  ZoomRange range;
  range.minimum = std::clamp(int(std::floor(100 * fit)), 1, 100);
  range.maximum = std::max(100, int(std::ceil(100 * fill)));
  return range;
}

Placement ZoomedPlacement(const Placement& placement, int percent, int fileWidth, int fileHeight,
                          double anchorX, double anchorY)
{
  const PlacementGeometry before = GeometryOfPlacement(placement, fileWidth, fileHeight);
  Placement zoomed = placement;
  zoomed.scalePercent = std::max(1, percent);
  const PlacementGeometry after = GeometryOfPlacement(zoomed, fileWidth, fileHeight);
  zoomed.panX = PanKeepingAnchor(placement.panX, before.scaledWidth, after.scaledWidth, anchorX);
  zoomed.panY = PanKeepingAnchor(placement.panY, before.scaledHeight, after.scaledHeight, anchorY);
  return ClampedPlacement(zoomed, fileWidth, fileHeight);
}

Placement ClampedPlacement(const Placement& placement, int fileWidth, int fileHeight)
{
  const PlacementGeometry geometry = GeometryOfPlacement(placement, fileWidth, fileHeight);
  Placement clamped = placement;
  clamped.panX = std::clamp(placement.panX, geometry.panX.minimum, geometry.panX.maximum);
  clamped.panY = std::clamp(placement.panY, geometry.panY.minimum, geometry.panY.maximum);
  return clamped;
}

std::string_view WhyZoomIsFixed(FitMode mode, bool pictureLoaded)
{
  if (!pictureLoaded) {
    return "No picture loaded";
  }
  if (mode == FitMode::Cutout) {
    return "Cut-out 1:1 shows the picture at its own size: choose Fit or Fill to zoom";
  }
  return {};
}

}  // namespace pavona
