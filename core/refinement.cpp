#include "core/refinement.h"

#include <memory>
#include <string>

#include "core/blurred_error_polish.h"
#include "core/colour_adjustment.h"
#include "core/convert_run.h"
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

std::unique_ptr<RefineStart> StartOf(const Workspace& workspace, const Settings& settings)
{
  auto start = std::make_unique<RefineStart>();
  AdjustColours(workspace.source, settings.adjustment, start->adjusted);
  PrepareMixTable(start->ditherTable, workspace.palette, settings);
  // The same noise as the first dither, and the sequence stays where that
  // dither left it.
  start->randomState = settings.dither.method == DitherMethod::Random
                           ? RandomStateBeforeFrame(workspace.randomState, settings.dither)
                           : workspace.randomState;
  return start;
}

std::unique_ptr<UnitMixes> MixesOfSelection(const Workspace& workspace, const RefineStart& start,
                                            const Settings& settings)
{
  const ChosenColours chosen{workspace.c64, workspace.result, workspace.palette, workspace.mix};
  return MixesOfChosenUnits(chosen, start.ditherTable, settings, FirstColumn(settings.mode));
}

// Dithers the frame again within the units' mixes and runs the selection on
// the new dither, from the state the first selection started from.
void DitherAndSelectAgain(Workspace& workspace, const RefineStart& start, const UnitMixes& units,
                          const Settings& settings, const std::function<void()>& selectColours,
                          ProgressReport& progress)
{
  const auto allowed = AllowedMixesOf(units, start.ditherTable, settings.measure);
  workspace.adjusted = start.adjusted;
  std::uint32_t randomState = start.randomState;
  DitherWithinAllowedMixes(workspace.adjusted, *allowed, start.ditherTable, settings.measure,
                           settings.mode, settings.dither, randomState, progress);
  workspace.mix = start.ditherTable;
  workspace.c64.fill(0);
  InitResultPictures(workspace, FirstColumn(settings.mode));
  selectColours();
}

}  // namespace

void RefineColourSelection(Workspace& workspace, const Settings& settings,
                           const std::function<void()>& selectColours, ProgressReport& progress)
{
  if (!settings.refine) {
    return;
  }
  const auto start = StartOf(workspace, settings);
  auto units = MixesOfSelection(workspace, *start, settings);
  for (int round = 1; round <= RefineRounds; ++round) {
    progress.SetStatus("Refine: dithering within the chosen colours, round " +
                       std::to_string(round));
    DitherAndSelectAgain(workspace, *start, *units, settings, selectColours, progress);
    // The same mixes would give the same dither and the same selection.
    auto next = MixesOfSelection(workspace, *start, settings);
    const bool settled = next->SameMixes(*units);
    units = std::move(next);
    if (settled) {
      break;
    }
  }
  progress.SetStatus("Refine: placing the pixels as the eye sees them");
  PolishByBlurredError(workspace.result, workspace.c64, *units, workspace.mix,
                       PictureFromPlanes(start->adjusted), FirstColumn(settings.mode));
}

}  // namespace pavona
