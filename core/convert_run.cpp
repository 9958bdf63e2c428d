#include "core/convert_run.h"

#include "c64/fli_interlace_data.h"
#include "c64/interlace_alternation.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "core/colour_adjustment.h"
#include "core/refinement.h"
#include "dither/dither_picture.h"
#include "select/fli_colours.h"
#include "select/fli_extreme.h"
#include "select/fli_four_colours.h"
#include "select/fli_interlace_colours.h"
#include "select/hires_colours.h"
#include "select/hires_interlace_colours.h"
#include "select/single_bank_colours.h"

namespace pavona {
namespace {

void SelectColours(Workspace& workspace, const Settings& settings, ProgressReport& progress)
{
  Picture& result = workspace.result;
  C64Data& data = workspace.c64;
  const MixTable& table = workspace.mix;
  switch (settings.mode) {
    case GraphicMode::HiresFli:
      if (settings.extraBruteForce) {
        SelectFliColoursExtreme(result, table, settings.measure, data, progress);
      } else {
        SelectFliColours(result, table, settings.measure, data, progress);
      }
      return;
    case GraphicMode::HiresFliInterlace:
      if (settings.sameBanks) {
        SelectSingleBankFliColours(result, workspace.palette, settings.measure, settings.flicker,
                                   data, progress);
      } else if (!settings.fourColours) {
        SelectFliInterlaceColours(result, table, settings.measure, progress);
      } else if (settings.extraBruteForce) {
        SelectFliFourColoursExtreme(result, table, data, progress);
      } else {
        // The search applies the flicker level to the table once more; "Off"
        // rebuilds it, which undoes the luma reduction of "'Y' Brightness".
        const MixTableSetting setting{workspace.palette, settings.mix, settings.mode,
                                      settings.flicker};
        SelectFliFourColours(result, workspace.mix, setting, settings.measure, data, progress);
      }
      return;
    case GraphicMode::HiresStandard:
      SelectHiresColours(result, table, settings.measure, data, progress);
      return;
    case GraphicMode::HiresInterlaced:
      if (settings.sameBanks) {
        SelectSingleBankHiresColours(result, workspace.palette, settings.measure, settings.flicker,
                                     data, progress);
      } else {
        SelectHiresInterlaceColours(result, table, data, progress);
      }
      return;
  }
}

// With "Same Col Banks" on the fields have their own bitmaps, so the shared
// bitmap builder never runs after the single-bank search and the row exchange
// always includes the bitmaps, whatever the (then disabled) "4 cols per 8x1"
// box says.
void BuildFieldsAndAlternate(Workspace& workspace, const Settings& settings,
                             ProgressReport& progress)
{
  C64Data& data = workspace.c64;
  if (settings.mode == GraphicMode::HiresInterlaced && settings.sameBanks) {
    if (settings.alternateY) {
      AlternateRowsHires(data);
    }
    if (settings.alternateX) {
      AlternatePixelColumnsHires(data);
    }
    return;
  }
  if (settings.mode != GraphicMode::HiresFliInterlace) {
    return;
  }
  const bool sharedBitmap = !settings.sameBanks && !settings.fourColours;
  if (sharedBitmap) {
    BuildFliInterlaceData(workspace.result, workspace.mix, data, progress);
  }
  if (settings.alternateY) {
    AlternateRowsFli(data, !sharedBitmap);
  }
  if (!settings.sameBanks && settings.alternateX8) {
    AlternateCellColumnsFli(data, !sharedBitmap);
  }
  if (settings.sameBanks && settings.alternateX) {
    AlternatePixelColumnsFli(data);
  }
}

}  // namespace

void PrepareMixTable(MixTable& table, const C64Palette& palette, const Settings& settings)
{
  BuildMixPalette(table, palette, settings.mix, settings.mode);
  if (settings.sameBanks || !IsInterlaced(settings.mode)) {
    return;
  }
  ReduceFlicker(table, settings.flicker);
  if (settings.measure == Measure::Brightness) {
    ReduceFlickerForLuma(table);
  }
}

void InitResultPictures(Workspace& workspace, int firstColumn)
{
  workspace.result.fill(workspace.mix.colour[0]);
  workspace.dithered.fill(workspace.mix.colour[0]);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      const std::uint32_t colour = ReadAdjustedPixel(workspace.adjusted, x, y);
      workspace.result[PixelIndex(x, y)] = colour;
      workspace.dithered[PixelIndex(x, y)] = colour;
    }
  }
}

ConversionOutcome CountErrorPixels(const Picture& result, const Picture& dithered)
{
  ConversionOutcome outcome;
  for (int i = 0; i < PixelCount; ++i) {
    outcome.changedPixels += result[i] != dithered[i] ? 1 : 0;
  }
  // Exact integer percentage: a float product shows 4% for 3200 pixels, which
  // are 5% of the frame.
  outcome.errorPercent = outcome.changedPixels * 100 / PixelCount;
  return outcome;
}

ConversionOutcome ConvertRun(Workspace& workspace, const Settings& settings,
                             ProgressReport& progress)
{
  workspace.conversionDone = true;
  workspace.converted = settings;
  workspace.palette = PaletteColours(settings.palette);
  PrepareMixTable(workspace.mix, workspace.palette, settings);
  progress.ShowMixTable(workspace.mix);
  workspace.c64.fill(0);

  AdjustColours(workspace.source, settings.adjustment, workspace.adjusted);
  DitherPicture(workspace.adjusted, workspace.mix, settings.measure, settings.mode, settings.dither,
                workspace.randomState, progress);
  InitResultPictures(workspace, FirstColumn(settings.mode));

  progress.SetStatus("Brute Force HI-FLI color selection in progress");
  SelectColours(workspace, settings, progress);
  RefineColourSelection(
      workspace, settings, [&] { SelectColours(workspace, settings, progress); }, progress);
  progress.ShowRows(workspace.result, 0, PictureHeight);
  BuildFieldsAndAlternate(workspace, settings, progress);
  return CountErrorPixels(workspace.result, workspace.dithered);
}

}  // namespace pavona
