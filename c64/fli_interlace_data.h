#pragma once

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// Fills the four FLI regions from a picture whose spans hold at most two mix
// colours each (the reduced picture of the two-colour interlace search). The
// two fields share one bitmap: the span's first pixel and every pixel equal to
// it are 1-bits, all others 0-bits. Each span's screen bytes take field 1's
// and field 2's colours from the pair codes of its two mix colours.
//
// A pixel value that no mix slot holds (the selections never produce one) is
// given the pair code of mix 0, 0x00: the same colour that stands in for the
// mixes removed by the flicker reduction.
void BuildFliInterlaceData(const Picture& result, const MixTable& table, C64Data& data,
                           ProgressReport& progress);

}  // namespace pavona
