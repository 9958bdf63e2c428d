#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Multicolour Interlace": two multicolour pictures on alternate frames, the
// second one hires pixel to the right, so hires column x shows the mix of
// picture 1's pixel x / 2 and picture 2's pixel (x - 1) / 2 (column 0: picture
// 2 shows the background there). `result` holds the picture dithered onto
// the mix table (slots 0..135). Chooses the shared background and colour RAM
// colours and each picture's screen colours and bit pairs so that the mixes
// match the dithered picture; writes McBitmap1, McScreen1, McBitmap2,
// McScreen2, McColourRam and McBackground, and the mixes the C64 shows into
// the result.
void SelectMulticolourInterlaceColours(Picture& result, const MixTable& table, Measure measure,
                                       C64Data& data, ProgressReport& progress);

}  // namespace pavona
