#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Hires FLI Interlace" with four colours per 8x1. For every span, tries
// every pair of its own pixel colours as the base mixes A and B; each pixel
// may show A, B or one of the two cross mixes the fields produce, the nearest
// one (A, then B, C1, C2, each only when strictly nearer). Writes all four FLI
// regions and the mixes the pixels will show; `data` must be 0 on entry. The
// table is used as given: the run puts the flicker level back in force first.
//
// A pixel value that no mix slot holds is reported as a stray colour and
// given the pair code of mix 0 (0x00); the search goes on.
void SelectFliFourColours(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                          ProgressReport& progress);

}  // namespace pavona
