#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"

// Straight, slow transcriptions of the hires searches, one unit at a time:
// every candidate's error summed pixel by pixel, no tables, no pruning. The
// fast searches must give exactly what these give.
namespace pavona::plain_hires {

void SelectHiresCell(Picture& result, const MixTable& table, Measure measure, C64Data& data, int cx,
                     int cy);

void SelectHiresInterlaceCell(Picture& result, const MixTable& table, C64Data& data, int cx,
                              int cy);

void SelectSingleBankHiresCell(Picture& result, const C64Palette& palette, Measure measure,
                               FlickerLevel level, C64Data& data, int cx, int cy);

// The span of pixel row y in cell column cx.
void SelectSingleBankFliSpan(Picture& result, const C64Palette& palette, Measure measure,
                             FlickerLevel level, C64Data& data, int cx, int y);

}  // namespace pavona::plain_hires
