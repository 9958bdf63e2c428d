#pragma once

#include <cstdint>

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "dither/dither_settings.h"

namespace pavona {

// How many brightness gaps a balanced pattern spans: one for "Value Amp" 1
// and 2, two for 3 and 4.
int BalancedGaps(int valueAmp);

// The balanced ordered methods. The two candidates whose brightness encloses
// the pixel's (the nearest one, and the first one met by moving the colour
// evenly toward the other side) share the matrix's thresholds in the
// proportion that keeps its brightness, however far apart the palette's
// colours lie: a flat area keeps its mean. Over two gaps, every other
// threshold chooses between the pair one step further out instead, which
// spreads the pattern. "Alt Y Dither" turns the matrix upside down in value
// on odd lines and "Flip dither" swaps x and y, as in the other ordered
// methods.
void BalancedDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                         const ColourMatcher& match);

}  // namespace pavona
