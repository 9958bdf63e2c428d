#pragma once

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "colour/progress.h"
#include "dither/dither_settings.h"

namespace pavona {

// The side of the threshold matrix of an ordered method: 2, 3, 4 or 8; 0 for
// the methods that are not ordered.
int OrderedMatrixSize(DitherMethod method);

// The threshold of the method's matrix at row, column (each taken modulo the
// matrix size); 0 for the methods that are not ordered.
int OrderedThreshold(DitherMethod method, int row, int column);

// The balanced ordered methods, whose thresholds are centred on zero.
bool IsBalancedOrdered(DitherMethod method);

// The place of the threshold at row, column among all of its matrix's
// thresholds: 0 for the smallest up to size * size - 1.
int OrderedRank(DitherMethod method, int row, int column);

// How far "Value Amp" shifts the thresholds left: the amplitude minus one.
// A typed value outside the spinner's 1..4 counts as the nearer end.
int AmplitudeShift(int valueAmp);

// Shifts the pixel's channels by its threshold (darkening, or with
// "Alt Y Dither" brightening on even lines) and stores the nearest mix colour;
// the balanced methods shift as BalancedDitherPixel does.
void OrderedDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                        const ColourMatcher& match);

// OrderedDitherPixel on rows 0..199, the progress bar following the row and
// back at 0 after the last.
void OrderedDither(AdjustedPlanes& planes, const DitherSettings& settings,
                   const ColourMatcher& match, ProgressReport& progress);

}  // namespace pavona
