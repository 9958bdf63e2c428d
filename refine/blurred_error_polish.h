#pragma once

#include "refine/refine_canvas.h"

namespace pavona {

// Which pixels a polish pass visits.
enum class PolishedPixels {
  Every,
  NearChanges,  // those near a change since the last pass
};

// The eye sees a dithered picture blurred. One pass over the pixels that
// gives a pixel another of the mixes its units can show wherever that brings
// the blurred result closer to the blurred frame. The colours of every unit
// stay as chosen. The outcome does not depend on the number of threads.
// Returns how many pixels changed.
int PolishPass(RefineCanvas& canvas, PolishedPixels pixels);

}  // namespace pavona
