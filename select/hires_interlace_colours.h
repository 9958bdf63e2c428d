#pragma once

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Hires Interlaced": each 8 x 8 cell has two colours per field, so a pixel
// shows one of four mixes: X (1-bits in both fields), Y (0-bits in both) and
// the two cross mixes of one field's 1-colour with the other's 0-colour.
// Tries every pair (X, Y) of the 136 mixes by RGB distance, skipping pairs
// with a mix the flicker reduction removed; writes both fields' screens and
// bitmaps and the mixes shown into the result, and shows each finished cell
// row (top to bottom) through the progress report. Bitmap bits are added, so
// the data must be zero on entry.
void SelectHiresInterlaceColours(Picture& result, const MixTable& table, C64Data& data,
                                 ProgressReport& progress);

}  // namespace pavona
