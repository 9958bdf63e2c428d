#pragma once

#include "colour/progress.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"
#include "plan/settings.h"
#include "refine/refine_canvas.h"

namespace pavona {

// "Refine": the colour selection fits each unit's colours to the dithered
// picture, which the C64 then cannot show exactly; the eye sees the result
// blurred. Once the selection has run, this brings the result closer to the
// adjusted frame as the eye sees it (both blurred with a Gaussian of sigma 1
// pixel): a pass that gives pixels other mixes their units can show
// (PolishPass), then twice a choice of other colours for units where their
// pixels placed anew come closer (ChooseUnitColours) and a pass over the
// pixels near what changed; last, units that lost structure get the
// selection's pixels and colours back (KeepStructure). The result, the C64
// data and the fields stay one valid picture of the mode.
// `source` is the frame before the colour adjustment; `scratch` holds the
// buffers from one conversion to the next.
void RefineColourSelection(RunPictures& run, const Picture& source, const Settings& settings,
                           const ConversionPlan& plan, RefineScratch& scratch,
                           ProgressReport& progress);

}  // namespace pavona
