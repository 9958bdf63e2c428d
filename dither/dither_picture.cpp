#include "dither/dither_picture.h"

#include "colour/colour_matcher.h"
#include "dither/error_diffusion.h"
#include "dither/ordered_dither.h"
#include "dither/random_dither.h"

namespace pavona {

Picture PictureFromPlanes(const AdjustedPlanes& planes)
{
  Picture picture;
  for (int offset = 0; offset < PixelCount; ++offset) {
    picture[offset] = MakeColour(planes.red[offset], planes.green[offset], planes.blue[offset]);
  }
  return picture;
}

// The status texts name 136 mix colours in every mode, as the main window
// always has.
void DitherPicture(AdjustedPlanes& planes, const MixTable& table, Measure measure, GraphicMode mode,
                   const DitherSettings& settings, std::uint32_t& randomState,
                   ProgressReport& progress)
{
  const ColourMatcher matcher(table, measure, mode);
  const DitherMethod method = settings.method;
  if (method == DitherMethod::FloydSteinberg) {
    progress.SetStatus("Floyd Steinberg Dithering Image using 136 mix colors");
    FloydSteinbergDither(planes, matcher, settings.serpentine, progress);
  }
  if (method == DitherMethod::Custom) {
    progress.SetStatus("Custom Dithering Image using 136 mix colors");
    CustomDither(planes, matcher, settings.serpentine, progress);
  }
  progress.SetProgress(0);
  if (method == DitherMethod::None) {
    progress.SetStatus("Converting to 136 mix colors");
    MapToMixColours(planes, matcher, progress);
  }
  if (OrderedMatrixSize(method) != 0) {
    progress.SetStatus("Ordered dithering image");
    OrderedDither(planes, settings, matcher, progress);
  }
  if (method == DitherMethod::Random) {
    progress.SetStatus("random dithering image");
    RandomDither(planes, settings, randomState, matcher, progress);
  }
  if (!progress.ShouldContinue()) {
    return;  // an unfinished picture is not shown
  }
  progress.ShowRows(PictureFromPlanes(planes), 0, PictureHeight);
  progress.SetProgress(0);
}

}  // namespace pavona
