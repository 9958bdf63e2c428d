#include "framing/placement.h"

#include <algorithm>
#include <cmath>

#include "framing/picture_resample.h"

namespace pavona {

namespace {

// Far beyond any useful zoom; keeps sizes and pans inside an int.
constexpr double MaxScaledSide = 1 << 24;

// How much more a picture is scaled across than down.
double HorizontalStretch(const Placement& placement)
{
  if (placement.mode == FitMode::Cutout || placement.aspect == PixelAspect::Square) {
    return 1.0;
  }
  return 1.0 / PalPixelAspect;
}

// Frame rows per picture row.
double ScaleOf(const Placement& placement, int width, int height, double stretch)
{
  const FrameArea& area = placement.area;
  if (placement.mode == FitMode::Cutout) {
    return 1.0;
  }
  if (placement.scalePercent > 0) {
    return placement.scalePercent / 100.0;
  }
  const double across = area.width / (width * stretch);
  const double down = double(area.height) / height;
  if (placement.mode == FitMode::Fill) {
    return std::max(across, down);
  }
  return std::min({across, down, 1.0});  // a fitted picture is never enlarged
}

int ScaledSide(int side, double factor)
{
  return int(std::clamp(std::round(side * factor), 1.0, MaxScaledSide));
}

// The pans of one axis: a scaled picture at least as long as the frame may be
// moved until its far edge meets the frame's; a shorter one stays centred
// (Cutout: at the top left, as the first version showed it).
void SetAxis(int scaled, int frameSide, bool cutout, ScrollRange& range, int& centred)
{
  if (scaled >= frameSide) {
    range = {0, scaled - frameSide};
    centred = cutout ? 0 : (scaled - frameSide) / 2;
    return;
  }
  centred = cutout ? 0 : -((frameSide - scaled) / 2);
  range = {centred, centred};
}

}  // namespace

FrameArea AreaOf(const Placement& placement)
{
  return placement.mode == FitMode::Cutout ? FrameArea{} : placement.area;
}

PlacementGeometry GeometryOfPlacement(const Placement& placement, int fileWidth, int fileHeight)
{
  PlacementGeometry geometry;
  if (fileWidth <= 0 || fileHeight <= 0) {
    return geometry;
  }
  const double stretch = HorizontalStretch(placement);
  const double scale = ScaleOf(placement, fileWidth, fileHeight, stretch);
  geometry.scaledWidth = ScaledSide(fileWidth, scale * stretch);
  geometry.scaledHeight = ScaledSide(fileHeight, scale);
  const bool cutout = placement.mode == FitMode::Cutout;
  const FrameArea area = AreaOf(placement);
  SetAxis(geometry.scaledWidth, area.width, cutout, geometry.panX, geometry.centredPanX);
  SetAxis(geometry.scaledHeight, area.height, cutout, geometry.panY, geometry.centredPanY);
  return geometry;
}

int FileWidthOf(const LoadedPicture& picture)
{
  return picture.fileWidth > 0 ? picture.fileWidth : picture.width;
}

int FileHeightOf(const LoadedPicture& picture)
{
  return picture.fileHeight > 0 ? picture.fileHeight : picture.height;
}

PictureSize NeededDecodeSize(const Placement& placement, int fileWidth, int fileHeight)
{
  const PlacementGeometry geometry = GeometryOfPlacement(placement, fileWidth, fileHeight);
  return {std::min(geometry.scaledWidth, fileWidth), std::min(geometry.scaledHeight, fileHeight)};
}

Picture PlacePicture(const LoadedPicture& picture, const Placement& placement)
{
  Picture frame;
  PlacePicture(picture, placement, frame);
  return frame;
}

void PlacePicture(const LoadedPicture& picture, const Placement& placement, Picture& frame)
{
  const PlacementGeometry geometry =
      GeometryOfPlacement(placement, FileWidthOf(picture), FileHeightOf(picture));
  const FrameArea area = AreaOf(placement);
  const int left =
      area.left - std::clamp(placement.panX, geometry.panX.minimum, geometry.panX.maximum);
  const int top =
      area.top - std::clamp(placement.panY, geometry.panY.minimum, geometry.panY.maximum);
  if (geometry.scaledWidth == picture.width && geometry.scaledHeight == picture.height) {
    FrameFromPicture(picture, left, top, frame);  // 1:1, the picture's own pixels
    return;
  }
  frame.fill(0);
  DrawResampledPicture(picture, geometry.scaledWidth, geometry.scaledHeight, left, top, frame);
}

}  // namespace pavona
