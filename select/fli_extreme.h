#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Extra Brute Force": instead of pairs of a span's own pixel colours, every
// pair of the available colours is tried for every span, so the winner may
// use colours the span does not hold. Both draw the result as they go: after
// each pixel row, top to bottom, progress.ShowRows(result, y, 1). `data` must
// be 0 on entry.

// "Hires FLI": the 136 pairs (i, j), i <= j, of the 16 pure colours in slots
// 0..15, measured by `measure`. Writes FliScreens1 (i * 16 + j of the winner)
// and FliBitmap1; a pixel takes B only when strictly nearer to it than to A.
void SelectFliColoursExtreme(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                             ProgressReport& progress);

// "Hires FLI Interlace" with four colours per 8x1: the 9316 pairs (i, j),
// i <= j, of the 136 mixes as bases A and B, with their cross mixes, always
// measured by RGB distance. A pair whose base mix the flicker reduction
// removed never wins. Works with the table as it is (the flicker level is not
// applied again) and writes all four FLI regions.
void SelectFliFourColoursExtreme(Picture& result, const MixTable& table, C64Data& data,
                                 ProgressReport& progress);

}  // namespace pavona
