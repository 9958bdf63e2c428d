#include "refine/refine.h"

#include <optional>

#include "colour/colour_adjustment.h"
#include "colour/parallel.h"
#include "dither/dither_picture.h"
#include "refine/blurred_error_polish.h"
#include "refine/structure_guard.h"
#include "refine/unit_colour_choice.h"
#include "refine/unit_mixes.h"

namespace pavona {

void RefineColourSelection(RunPictures& run, const Picture& source, const Settings& settings,
                           const ConversionPlan& plan, RefineScratch& scratch,
                           ProgressReport& progress)
{
  // The dithering left neither the adjusted frame nor (for the four-colour
  // search, which applies the flicker level again) the table it matched with.
  AdjustColours(source, settings.adjustment, scratch.adjusted);
  PrepareMixTable(scratch.ditherTable, run.palette, settings, plan.mixTable);
  // With colours mapped into reach the dither aimed at the mapped frame, and
  // so does Refine: chasing chroma no mix can show traded the picture's
  // structure for it (SSIM down by up to 0.05 on the photos).
  if (settings.mapIntoReach) {
    scratch.reachMapping.Prepare(scratch.ditherTable);
    scratch.reachMapping.Map(scratch.adjusted);
  }
  PictureFromPlanes(scratch.adjusted, scratch.adjustedPicture);
  const ChosenColours chosen{run.c64, run.result, run.palette, run.mix};
  FindUnitMixes(chosen, scratch.ditherTable, settings, plan, scratch.units);
  if (!scratch.units.resultShowsTableColours) {
    return;
  }
  scratch.structure.selectedResult = run.result;
  scratch.structure.selectedData = run.c64;
  // The selection's structure is measured on the other core while the
  // canvas is set up; neither reads what the other writes.
  std::optional<RefineCanvas> built;
  ParallelFor(2, [&](int i) {
    if (i == 0) {
      built.emplace(run.result, run.c64, scratch.units, run.mix, scratch.adjustedPicture,
                    plan.firstColumn, scratch);
    } else {
      MeasureSelectionStructure(scratch.adjustedPicture, scratch.structure);
    }
  });
  RefineCanvas& canvas = *built;
  // One pass over every pixel, then twice new colours and a pass near what
  // they changed: the second round added 0.1 dB PSNR and 0.06 CIEDE2000 on
  // the photos for about a third more time, a third pass alone half of that.
  // Moving pairs of pixels together as well gained up to 0.15 dB more but
  // made each pass about four times as slow.
  progress.SetStatus("Refine: placing the pixels as the eye sees them");
  PolishPass(canvas, PolishedPixels::Every);
  progress.SetStatus("Refine: choosing the cell colours as the eye sees them");
  for (int round = 0; round < 2; ++round) {
    ChooseUnitColours(canvas);
    PolishPass(canvas, PolishedPixels::NearChanges);
  }
  KeepStructure(run.result, run.c64, scratch.units, scratch.structure);
}

}  // namespace pavona
