#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Hires FLI": for every 8x1 span, the two of its own pixel colours that
// reproduce it best (every pair of pixel positions is tried, the first pair
// wins among equal errors). Writes the span's screen byte into bank r of
// FliScreens1 (the 1-bit colour in the high nibble) and its bitmap bits into
// FliBitmap1, and replaces the span's pixels by the two colours. The table
// holds the 16 pure colours in slots 0..15; `data` must be 0 on entry.
//
// A pixel value that none of the 16 slots holds is reported as a stray colour
// and written as colour number 1; the search goes on.
void SelectFliColours(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                      ProgressReport& progress);

}  // namespace pavona
