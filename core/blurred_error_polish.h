#pragma once

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "core/unit_mixes.h"

namespace pavona {

// The eye sees a dithered picture blurred. This pass compares the result
// with the adjusted frame after both are blurred with a Gaussian of sigma 1
// pixel, and gives a pixel another of the mixes its unit can show wherever
// that brings the two closer (the sum of squared RGB differences, over the
// columns from firstColumn on), pixel by pixel in rows, for a few passes. It
// writes the new colour into the result and the new bits into the bitmaps;
// the colours of every unit stay as chosen. Does nothing when the result does
// not show the table's colours. Returns how many pixels changed.
int PolishByBlurredError(Picture& result, C64Data& data, const UnitMixes& units,
                         const MixTable& table, const Picture& adjusted, int firstColumn);

}  // namespace pavona
