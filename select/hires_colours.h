#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Hires Standard": every 8 x 8 cell shows two of the 16 pure colours (table
// slots 0..15). Tries all 136 pairs per cell, keeps the first with the least
// error by the chosen measure, writes the cell's screen byte and bitmap bits
// into HiresScreen1 and HiresBitmap1 and the colours shown into the result.
// Bitmap bits are added, so the data must be zero on entry.
void SelectHiresColours(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                        ProgressReport& progress);

}  // namespace pavona
