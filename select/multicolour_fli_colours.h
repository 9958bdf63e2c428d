#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Multicolour FLI": `result` holds the dithered picture as for
// SelectMulticolourColours; the background is black. Chooses, for every 4 x 8
// cell, its colour RAM colour together with the two screen colours of each of
// its eight 4 x 1 spans (screen bank r for pixel row r), and each pixel's bit
// pair; writes McFliScreens, McBitmap1, McColourRam and McBackground (0) and
// the colours the C64 shows into the result. The first three cell columns,
// which the video chip does not show, stay as InitResultPictures left them.
void SelectMulticolourFliColours(Picture& result, const MixTable& table, Measure measure,
                                 C64Data& data, ProgressReport& progress);

}  // namespace pavona
