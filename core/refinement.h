#pragma once

#include <functional>

#include "colour/progress.h"
#include "core/conversion_plan.h"
#include "core/run_pictures.h"
#include "core/settings.h"

namespace pavona {

// The most rounds of dithering again and selecting again that "Refine" runs.
constexpr int RefineRounds = 1;

// "Refine": once the colour selection has chosen each unit's colours, dithers
// the adjusted frame again with the same method and settings (the random
// method with the same noise), each pixel limited to the mixes its unit can
// show with those colours, so the error diffusion learns what the C64 really
// shows; then runs the selection (`selectColours`) again on the new dither.
// The two alternate until the selection keeps every unit's mixes or after
// RefineRounds rounds. Finally each pixel may still change to another mix of
// its unit where that brings the picture closer to the frame as the eye sees
// it (PolishByBlurredError). Does nothing with the setting off. Leaves the
// random generator state as the first dither left it.
// `source` is the frame before the colour adjustment.
void RefineColourSelection(RunPictures& run, const Picture& source, const Settings& settings,
                           const ConversionPlan& plan, const std::function<void()>& selectColours,
                           ProgressReport& progress);

}  // namespace pavona
