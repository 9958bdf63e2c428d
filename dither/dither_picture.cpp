#include "dither/dither_picture.h"

#include <memory>
#include <string_view>

#include "colour/colour_matcher.h"
#include "dither/error_diffusion.h"
#include "dither/kernel_diffusion.h"
#include "dither/ordered_dither.h"
#include "dither/random_dither.h"
#include "dither/wide_pixel_dither.h"

namespace pavona {

Picture PictureFromPlanes(const AdjustedPlanes& planes)
{
  Picture picture;
  PictureFromPlanes(planes, picture);
  return picture;
}

void PictureFromPlanes(const AdjustedPlanes& planes, Picture& picture)
{
  for (int offset = 0; offset < PixelCount; ++offset) {
    picture[offset] = MakeColour(planes.red[offset], planes.green[offset], planes.blue[offset]);
  }
}

namespace {

std::string_view KernelStatus(DitherMethod method)
{
  switch (method) {
    case DitherMethod::Atkinson:
      return "Atkinson Dithering Image using 136 mix colors";
    case DitherMethod::SierraLite:
      return "Sierra Lite Dithering Image using 136 mix colors";
    case DitherMethod::JarvisJudiceNinke:
      return "Jarvis-Judice-Ninke Dithering Image using 136 mix colors";
    default:
      return "Stucki Dithering Image using 136 mix colors";
  }
}

// The pass of the selected method, each pixel matched by `match`, after the
// method's status text.
void RunMethod(AdjustedPlanes& planes, const ColourMatcher& match, const DitherSettings& settings,
               std::uint32_t& randomState, ProgressReport& progress)
{
  auto status = [&](std::string_view text) { progress.SetStatus(text); };
  const DitherMethod method = settings.method;
  if (method == DitherMethod::FloydSteinberg) {
    status("Floyd Steinberg Dithering Image using 136 mix colors");
    FloydSteinbergDither(planes, match, settings.serpentine, progress);
  }
  if (method == DitherMethod::Custom) {
    status("Custom Dithering Image using 136 mix colors");
    CustomDither(planes, match, settings.serpentine, progress);
  }
  if (IsKernelDiffusion(method)) {
    status(KernelStatus(method));
    KernelDiffusion(planes, PictureWidth, method, settings.serpentine, match, progress);
  }
  progress.SetProgress(0);
  if (method == DitherMethod::None) {
    status("Converting to 136 mix colors");
    MapToMixColours(planes, match, progress);
  }
  if (OrderedMatrixSize(method) != 0) {
    status(IsBalancedOrdered(method) ? "Balanced ordered dithering image"
                                     : "Ordered dithering image");
    OrderedDither(planes, settings, match, progress);
  }
  if (method == DitherMethod::Random) {
    status("random dithering image");
    RandomDither(planes, settings, randomState, match, progress);
  }
}

}  // namespace

// The status texts name 136 mix colours in every mode, as the main window
// always has.
void DitherPicture(AdjustedPlanes& planes, const MixTable& table, Measure measure, GraphicMode mode,
                   const DitherSettings& settings, std::uint32_t& randomState,
                   ProgressReport& progress)
{
  const ColourMatcher matcher(table, measure, mode);
  if (IsMulticolour(mode) && !IsInterlaced(mode)) {
    progress.SetStatus("Dithering image in multicolour pixels");
    DitherWidePixels(planes, matcher, settings, randomState, progress);
    progress.SetProgress(0);
  } else {
    RunMethod(planes, matcher, settings, randomState, progress);
  }
  if (!progress.ShouldContinue()) {
    return;  // an unfinished picture is not shown
  }
  if (progress.ShowsRows()) {
    const auto picture = std::make_unique_for_overwrite<Picture>();
    PictureFromPlanes(planes, *picture);
    progress.ShowRows(*picture, 0, PictureHeight);
  }
  progress.SetProgress(0);
}

}  // namespace pavona
