#pragma once

#include "colour/picture.h"
#include "framing/source_frame.h"

namespace pavona {

// How a picture of any size is placed in the 320 x 200 frame.
enum class FitMode {
  Cutout,  // 1:1, a 320 x 200 piece of the picture (a smaller one sits at the top left)
  Fit,     // the whole picture, scaled down to fit, centred, black around it
  Fill,    // scaled to cover the whole frame, the rest cut off
};

// The shape of a frame pixel on the screen the picture is made for.
enum class PixelAspect {
  Square,  // a frame pixel per picture pixel in both directions
  Pal,     // the C64's PAL pixel, narrower than tall (PalPixelAspect)
};

// Width / height of a C64 pixel on a PAL screen. The VIC-II draws pixels at
// 7.881984 MHz (eight per cycle of the 0.985248 MHz clock); a PAL line sampled
// with square pixels takes 14.75 MHz (768 samples in the 52 us picture of a
// line, 576 lines at 4:3). A C64 pixel is therefore 14.75 / 7.881984 square
// pixels wide and, the C64 drawing one field line per row, two lines of the
// 576 tall: 14.75 / (2 * 7.881984) = 0.9357.
inline constexpr double PalPixelAspect = 14.75 / (2 * 7.881984);

struct Placement {
  FitMode mode = FitMode::Cutout;
  // The zoom in percent of the picture's size in its file, counted in frame
  // rows per picture row (with the PAL aspect the picture is scaled
  // 1 / PalPixelAspect times more across). 0: the mode's own scale (fit or
  // fill; a fitted picture is never enlarged). Cutout is always 1:1.
  int scalePercent = 0;
  PixelAspect aspect = PixelAspect::Pal;  // unused by Cutout
  // The point of the scaled picture, in frame pixels, at the frame's top-left
  // corner: for Cutout the position of the cut-out in the picture. Negative
  // where a scaled picture smaller than the frame is centred in it.
  int panX = 0;
  int panY = 0;
  // Fit and Fill place the picture into this part of the frame, the part the
  // graphic mode shows (the FLI viewers hide the left columns and the last
  // rows); the pans count from its top-left corner. Cutout ignores it.
  FrameArea area;
  friend bool operator==(const Placement&, const Placement&) = default;
};

// Where a picture lands in the frame under a placement, worked out from the
// picture's size in its file.
struct PlacementGeometry {
  int scaledWidth = 0;  // the whole picture at the placement's scale, in frame pixels
  int scaledHeight = 0;
  ScrollRange panX;  // the pans that keep the frame on the picture
  ScrollRange panY;
  int centredPanX = 0;  // the pans that centre the picture (Cutout: 0, 0)
  int centredPanY = 0;
};

PlacementGeometry GeometryOfPlacement(const Placement& placement, int fileWidth, int fileHeight);

// The part of the frame the placement fills: the whole frame for Cutout.
FrameArea AreaOf(const Placement& placement);

// The size in the file of a loaded picture, which may have been decoded smaller.
int FileWidthOf(const LoadedPicture& picture);
int FileHeightOf(const LoadedPicture& picture);

// The smallest size a picture of fileWidth x fileHeight may be decoded at for
// this placement: its scaled size for Fit and Fill, its whole size for Cutout.
PictureSize NeededDecodeSize(const Placement& placement, int fileWidth, int fileHeight);

// The 320 x 200 frame showing the picture as placed; black where the picture
// does not reach (a filled picture runs on beyond its area, so that the
// colour cells the area cuts see its pixels). The pan is held inside its range. Cutout gives
// exactly the picture's pixels; a scaled picture is resampled in linear light.
Picture PlacePicture(const LoadedPicture& picture, const Placement& placement);
// The same frame drawn over whatever `frame` held, where it is to be kept.
void PlacePicture(const LoadedPicture& picture, const Placement& placement, Picture& frame);

}  // namespace pavona
