#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Multicolour": `result` holds the dithered picture, pure colours (table
// slots 0..15), each multicolour pixel two equal hires pixels. Chooses the
// background for the whole picture and, for every 4 x 8 cell, its three
// colours (screen high nibble, screen low nibble, colour RAM) and each
// pixel's bit pair, with the least error by the chosen measure; writes them
// into McBitmap1, McScreen1, McColourRam and McBackground and the colours the
// C64 shows into the result.
void SelectMulticolourColours(Picture& result, const MixTable& table, Measure measure,
                              C64Data& data, ProgressReport& progress);

}  // namespace pavona
