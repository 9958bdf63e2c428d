#include "core/convert_run.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>

#include "c64/field_pictures.h"
#include "c64/fli_interlace_data.h"
#include "c64/interlace_alternation.h"
#include "colour/colour_adjustment.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/reach_mapping.h"
#include "core/picture_closeness.h"
#include "dither/dither_picture.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"
#include "refine/refine.h"
#include "select/colour_search.h"

namespace pavona {
namespace {

void BuildFieldsAndAlternate(RunPictures& run, const FieldPlan& plan, ProgressReport& progress)
{
  C64Data& data = run.c64;
  const FieldBitmaps bitmaps = plan.exchangeBitmaps ? FieldBitmaps::Own : FieldBitmaps::Shared;
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
    AlternateRowsFli(data, bitmaps);
  }
  if (plan.alternateCellColumnsFli) {
    AlternateCellColumnsFli(data, bitmaps);
  }
  if (plan.alternatePixelColumnsFli) {
    AlternatePixelColumnsFli(data);
  }
}

// The flicker level takes mixes out of the table, yet a cell of "Multicolour
// Interlace" may have no other way to show a pixel, its colour RAM and
// background being shared: the result shows what the C64 shows there, the
// mix itself, not the stand-in the reduced table holds.
void ShowMixesOfFields(RunPictures& run, const Settings& settings, OutputKind kind)
{
  MixTable every;
  BuildMixPalette(every, run.palette, settings.mix, settings.mode);
  // Decoded in a "palette" of the colour numbers themselves, each the first
  // number of its colour, as two palette entries may be alike.
  C64Palette numbers;
  for (int i = 0; i < 16; ++i) {
    numbers[i] = std::uint32_t(std::find(run.palette.begin(), run.palette.end(), run.palette[i]) -
                               run.palette.begin());
  }
  const auto fields = std::make_unique_for_overwrite<FieldPictures>();
  DecodeFields(run.c64, kind, numbers, *fields);
  for (int i = 0; i < PixelCount; ++i) {
    const int a = int(fields->field1[i]), b = int(fields->field2[i]);
    run.result[i] = every.colour[PairSlot(std::min(a, b), std::max(a, b))];
  }
}

void Commit(const RunPictures& run, const Settings& settings, Workspace& workspace)
{
  workspace.conversionDone = true;
  workspace.converted = settings;
  RunPictures& finished = workspace;
  if (&run != &finished) {
    finished = run;
  }
}

// The pictures a run works in: a set of its own, which the workspace gets
// only once the run has finished, or, where the run cannot be stopped, the
// workspace's own, set as a fresh set would start.
RunPictures& PicturesOfRun(Workspace& workspace, ProgressReport& progress,
                           std::unique_ptr<RunPictures>& apart)
{
  if (progress.MayStop()) {
    apart = std::make_unique<RunPictures>();
    apart->adjusted = workspace.adjusted;
    apart->randomState = workspace.randomState;
    return *apart;
  }
  workspace.palette = {};
  workspace.mix = {};
  workspace.dithered.fill(0);
  workspace.result.fill(0);
  workspace.c64.fill(0);
  return workspace;
}

}  // namespace

void CopyRunInputs(const Workspace& shown, Workspace& run)
{
  run.source = shown.source;
  run.adjusted = shown.adjusted;
  run.randomState = shown.randomState;
}

// What Commit writes, field for field.
void CopyRunResults(const Workspace& run, Workspace& shown)
{
  shown.conversionDone = run.conversionDone;
  shown.converted = run.converted;
  static_cast<RunPictures&>(shown) = run;
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

std::string OutcomeFigures(const ConversionOutcome& outcome)
{
  char closeness[32];
  std::snprintf(closeness, sizeof closeness, "%.2f", outcome.closenessDb.value_or(0));
  return std::string(closeness) + " dB close to the photo (blurred PSNR, higher is closer), " +
         std::to_string(outcome.errorPercent) + "% of the pixels changed from the dither (" +
         std::to_string(outcome.changedPixels) + ")";
}

ConversionOutcome ConvertRun(Workspace& workspace, const Settings& settings,
                             ProgressReport& progress, Closeness closeness)
{
  const auto started = std::chrono::steady_clock::now();
  const ConversionPlan plan = PlanConversion(settings);
  // The error diffusion leaves its overflow in the planes' spare tails, which
  // carry over from run to run as they always have, as does the random state.
  std::unique_ptr<RunPictures> apart;
  RunPictures* const run = &PicturesOfRun(workspace, progress, apart);
  run->palette = PaletteOf(settings);
  PrepareMixTable(run->mix, run->palette, settings, plan.mixTable);
  progress.ShowMixTable(run->mix);

  AdjustColours(workspace.source, settings.adjustment, run->adjusted);
  // Taken before the dither, which spreads its error into the planes.
  // On the heap, as every picture of a run: a stack that cannot grow under a
  // memory limit ends the process where an allocation would say so.
  std::unique_ptr<Picture> photo;
  if (closeness == Closeness::Measure) {
    photo = std::make_unique_for_overwrite<Picture>();
    for (int i = 0; i < PixelCount; ++i) {
      (*photo)[i] = ReadAdjustedPixel(run->adjusted, i % PictureWidth, i / PictureWidth);
    }
  }
  // After the photo is taken: the closeness stays measured against the photo
  // itself. The reach is that of the table the dither works with.
  if (settings.mapIntoReach) {
    if (!workspace.reachMapping) {
      workspace.reachMapping = std::make_unique<ReachMapping>();
    }
    workspace.reachMapping->Prepare(run->mix);
    workspace.reachMapping->Map(run->adjusted);
  }
  DitherPicture(run->adjusted, run->mix, settings.measure, settings.mode, settings.dither,
                run->randomState, progress);
  ConversionOutcome stopped;
  stopped.stopped = true;
  if (!progress.ShouldContinue()) {
    return stopped;
  }
  InitResultPictures(*run, plan.firstColumn);

  progress.SetStatus("Brute Force HI-FLI color selection in progress");
  // The four-colour search wants the flicker level in force again after the
  // dither.
  if (plan.mixTable.reapplyFlickerBeforeSearch) {
    ReapplyFlickerLevel(run->mix, run->palette, settings.mix, settings.mode, settings.flicker);
  }
  const SearchTables tables{run->mix, run->palette, settings.measure, settings.flicker};
  RunColourSearch(plan.search, tables, run->result, run->c64, progress);
  if (plan.search == ColourSearch::MulticolourInterlace) {
    ShowMixesOfFields(*run, settings, plan.output);
  }
  if (plan.refine) {
    if (!workspace.refineScratch) {
      workspace.refineScratch = std::make_unique<RefineScratch>();
    }
    RefineColourSelection(*run, workspace.source, settings, plan, *workspace.refineScratch,
                          progress);
  }
  if (!progress.ShouldContinue()) {
    return stopped;
  }
  progress.ShowRows(run->result, 0, PictureHeight);
  BuildFieldsAndAlternate(*run, plan.fields, progress);
  Commit(*run, settings, workspace);
  ConversionOutcome outcome = CountErrorPixels(workspace.result, workspace.dithered);
  if (photo) {
    outcome.closenessDb = BlurredPsnr(*photo, workspace.result, plan.firstColumn);
  }
  outcome.seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  return outcome;
}

}  // namespace pavona
