#pragma once

#include <cstdint>

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "dither/dither_settings.h"

namespace pavona {

// The brightness step, as a sum of the three channels, between the two
// candidates that enclose the colour's brightness: the one it matches and
// the first one met by moving it evenly brighter (when the match is darker
// than the colour) or darker (when the match is brighter). 0 when the colour
// is a candidate itself or nothing lies beyond its match.
int BrightnessGap(std::uint32_t colour, const ColourMatcher& match);

// How many brightness gaps the thresholds of a balanced matrix span: one for
// "Value Amp" 1 and 2, two for 3 and 4. The mean stays only as long as the
// colours are evenly spaced over the span, which the mixes are over two gaps
// but seldom over more.
int BalancedGaps(int valueAmp);

// The balanced ordered methods: the pixel's channels move evenly by its
// threshold, centred on zero and scaled so that the thresholds of the matrix
// span BalancedGaps times the brightness gap around the pixel, and the
// nearest mix colour is stored. A flat area then mixes the colours around it
// in the proportion that keeps its mean. "Alt Y Dither" turns the matrix
// upside down in value on odd lines and "Flip dither" swaps x and y, as in
// the other ordered methods.
void BalancedDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                         const ColourMatcher& match);

}  // namespace pavona
