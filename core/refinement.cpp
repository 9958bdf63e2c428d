#include "core/refinement.h"

#include <memory>
#include <string>

#include "core/blurred_error_polish.h"
#include "core/colour_adjustment.h"
#include "core/unit_mixes.h"
#include "dither/dither_picture.h"
#include "dither/random_dither.h"

namespace pavona {
namespace {

// What every round starts from again: the dithering left neither the
// adjusted frame nor (for the four-colour search, which applies the flicker
// level again) the table it matched with.
struct RefineStart {
  AdjustedPlanes adjusted;
  MixTable ditherTable;
  std::uint32_t randomState = 0;
};

std::unique_ptr<RefineStart> StartOf(const RunPictures& run, const Picture& source,
                                     const Settings& settings, const ConversionPlan& plan)
{
  auto start = std::make_unique<RefineStart>();
  AdjustColours(source, settings.adjustment, start->adjusted);
  PrepareMixTable(start->ditherTable, run.palette, settings, plan.mixTable);
  // The same noise as the first dither, and the sequence stays where that
  // dither left it.
  start->randomState = settings.dither.method == DitherMethod::Random
                           ? RandomStateBeforeFrame(run.randomState, settings.dither)
                           : run.randomState;
  return start;
}

std::unique_ptr<UnitMixes> MixesOfSelection(const RunPictures& run, const RefineStart& start,
                                            const Settings& settings, const ConversionPlan& plan)
{
  const ChosenColours chosen{run.c64, run.result, run.palette, run.mix};
  return MixesOfChosenUnits(chosen, start.ditherTable, settings, plan.firstColumn);
}

// Dithers the frame again within the units' mixes and runs the selection on
// the new dither, from the state the first selection started from.
void DitherAndSelectAgain(RunPictures& run, const RefineStart& start, const UnitMixes& units,
                          const Settings& settings, const ConversionPlan& plan,
                          const std::function<void()>& selectColours, ProgressReport& progress)
{
  const auto allowed = AllowedMixesOf(units, start.ditherTable, settings.measure);
  run.adjusted = start.adjusted;
  std::uint32_t randomState = start.randomState;
  DitherWithinAllowedMixes(run.adjusted, *allowed, start.ditherTable, settings.measure,
                           settings.mode, settings.dither, randomState, progress);
  run.mix = start.ditherTable;
  run.c64.fill(0);
  InitResultPictures(run, plan.firstColumn);
  selectColours();
}

}  // namespace

void RefineColourSelection(RunPictures& run, const Picture& source, const Settings& settings,
                           const ConversionPlan& plan, const std::function<void()>& selectColours,
                           ProgressReport& progress)
{
  if (!settings.refine) {
    return;
  }
  const auto start = StartOf(run, source, settings, plan);
  auto units = MixesOfSelection(run, *start, settings, plan);
  for (int round = 1; round <= RefineRounds; ++round) {
    progress.SetStatus("Refine: dithering within the chosen colours, round " +
                       std::to_string(round));
    DitherAndSelectAgain(run, *start, *units, settings, plan, selectColours, progress);
    // The same mixes would give the same dither and the same selection.
    auto next = MixesOfSelection(run, *start, settings, plan);
    const bool settled = next->SameMixes(*units);
    units = std::move(next);
    if (settled) {
      break;
    }
  }
  progress.SetStatus("Refine: placing the pixels as the eye sees them");
  PolishByBlurredError(run.result, run.c64, *units, run.mix, PictureFromPlanes(start->adjusted),
                       plan.firstColumn);
}

}  // namespace pavona
