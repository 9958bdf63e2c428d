#include "core/convert_run.h"

#include "c64/fli_interlace_data.h"
#include "c64/interlace_alternation.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "core/colour_adjustment.h"
#include "core/conversion_plan.h"
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

// The mix table as the plan wants it before dithering: rebuilt from the
// palette, then the flicker level's reduction and the luma reduction.
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

// Both pictures get mix colour 0 everywhere, then the dithered pixels from
// firstColumn on.
void InitResultPictures(Workspace& run, int firstColumn)
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

void SelectColours(Workspace& run, ColourSearch search, const Settings& settings,
                   ProgressReport& progress)
{
  Picture& result = run.result;
  C64Data& data = run.c64;
  const MixTable& table = run.mix;
  const Measure measure = settings.measure;
  switch (search) {
    case ColourSearch::Hires:
      SelectHiresColours(result, table, measure, data, progress);
      return;
    case ColourSearch::HiresInterlace:
      SelectHiresInterlaceColours(result, table, data, progress);
      return;
    case ColourSearch::SingleBankHires:
      SelectSingleBankHiresColours(result, run.palette, measure, settings.flicker, data, progress);
      return;
    case ColourSearch::Fli:
      SelectFliColours(result, table, measure, data, progress);
      return;
    case ColourSearch::FliExtreme:
      SelectFliColoursExtreme(result, table, measure, data, progress);
      return;
    case ColourSearch::FliInterlace:
      SelectFliInterlaceColours(result, table, measure, progress);
      return;
    case ColourSearch::FliFourColours:
      SelectFliFourColours(result, table, measure, data, progress);
      return;
    case ColourSearch::FliFourColoursExtreme:
      SelectFliFourColoursExtreme(result, table, data, progress);
      return;
    case ColourSearch::SingleBankFli:
      SelectSingleBankFliColours(result, run.palette, measure, settings.flicker, data, progress);
      return;
  }
}

void BuildFieldsAndAlternate(Workspace& run, const FieldPlan& plan, ProgressReport& progress)
{
  C64Data& data = run.c64;
  if (plan.alternateRowsHires) {
    AlternateRowsHires(data);
  }
  if (plan.alternatePixelColumnsHires) {
    AlternatePixelColumnsHires(data);
  }
  if (plan.buildSharedBitmap) {
    BuildFliInterlaceData(run.result, run.mix, data, progress);
  }
  if (plan.alternateRowsFli) {
    AlternateRowsFli(data, plan.exchangeBitmaps);
  }
  if (plan.alternateCellColumnsFli) {
    AlternateCellColumnsFli(data, plan.exchangeBitmaps);
  }
  if (plan.alternatePixelColumnsFli) {
    AlternatePixelColumnsFli(data);
  }
}

}  // namespace

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
  const ConversionPlan plan = PlanConversion(settings);
  workspace.conversionDone = true;
  workspace.converted = settings;
  workspace.palette = PaletteColours(settings.palette);
  PrepareMixTable(workspace.mix, workspace.palette, settings, plan.mixTable);
  progress.ShowMixTable(workspace.mix);
  workspace.c64.fill(0);

  AdjustColours(workspace.source, settings.adjustment, workspace.adjusted);
  DitherPicture(workspace.adjusted, workspace.mix, settings.measure, settings.mode, settings.dither,
                workspace.randomState, progress);
  InitResultPictures(workspace, plan.firstColumn);

  progress.SetStatus("Brute Force HI-FLI color selection in progress");
  if (plan.mixTable.reapplyFlickerBeforeSearch) {
    ReapplyFlickerLevel(workspace.mix, workspace.palette, settings.mix, settings.mode,
                        settings.flicker);
  }
  SelectColours(workspace, plan.search, settings, progress);
  progress.ShowRows(workspace.result, 0, PictureHeight);
  BuildFieldsAndAlternate(workspace, plan.fields, progress);
  return CountErrorPixels(workspace.result, workspace.dithered);
}

}  // namespace pavona
