#pragma once

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "None": every pixel of rows 0..199, left to right, becomes its nearest mix
// colour, with no diffusion. The progress bar follows the row. Also the final
// pass of "Custom" in serpentine order.
void MapToMixColours(AdjustedPlanes& planes, const ColourMatcher& match, ProgressReport& progress);

// "Floyd Steinberg": every row left to right; in serpentine order the odd
// rows run right to left with the mirrored kernel.
void FloydSteinbergDither(AdjustedPlanes& planes, const ColourMatcher& match, bool serpentine,
                          ProgressReport& progress);

// "Custom": every row left to right with the custom kernel; in serpentine
// order the even rows take the Floyd-Steinberg kernel left to right, the odd
// rows the mirrored custom kernel right to left, and a final pass matches
// every pixel once more.
void CustomDither(AdjustedPlanes& planes, const ColourMatcher& match, bool serpentine,
                  ProgressReport& progress);

}  // namespace pavona
