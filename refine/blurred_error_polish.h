#pragma once

#include "refine/refine_canvas.h"

namespace pavona {

// The eye sees a dithered picture blurred. One pass over the pixels (every
// pixel, or those near a change since the last pass) that gives a pixel
// another of the mixes its units can show wherever that brings the blurred
// result closer to the blurred frame; with `pairs` also a pixel and its right
// or lower neighbour together, which reaches what neither reaches alone (one
// gets lighter where the other gets darker). The colours of every unit stay
// as chosen. The outcome does not depend on the number of threads. Returns
// how many pixels changed.
int PolishPass(RefineCanvas& canvas, bool everyPixel, bool pairs);

}  // namespace pavona
