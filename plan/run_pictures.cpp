#include "plan/run_pictures.h"

#include <algorithm>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"

namespace pavona {

void PrepareMixTable(MixTable& table, const C64Palette& palette, const Settings& settings,
                     const MixTablePlan& plan)
{
  BuildMixPalette(table, palette, settings.mix, settings.mode);
  if (plan.reduceFlicker) {
    ReduceFlicker(table, settings.flicker);
  }
  if (plan.reduceForLuma) {
    ReduceFlickerForLuma(table);
  }
}

void InitResultPictures(RunPictures& run, int firstColumn)
{
  run.result.fill(run.mix.colour[0]);
  run.dithered.fill(run.mix.colour[0]);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      const std::uint32_t colour = ReadAdjustedPixel(run.adjusted, x, y);
      run.result[PixelIndex(x, y)] = colour;
      run.dithered[PixelIndex(x, y)] = colour;
    }
  }
}

Picture AsTheC64ShowsIt(const Picture& picture, FrameArea shown)
{
  Picture result;
  AsTheC64ShowsIt(picture, shown, result);
  return result;
}

void AsTheC64ShowsIt(const Picture& picture, FrameArea shown, Picture& shownPicture)
{
  shownPicture.fill(0);
  for (int y = shown.top; y < shown.top + shown.height; ++y) {
    const int row = PixelIndex(shown.left, y);
    std::copy_n(picture.begin() + row, shown.width, shownPicture.begin() + row);
  }
}

}  // namespace pavona
