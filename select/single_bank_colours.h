#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// With "Same Col Banks" both interlace fields share every screen byte, so a
// unit shows two palette colours c1 (1-bits) and c2 (0-bits) and, where only
// field 1 has the bit set, the flicker mix of the two. Instead of removing
// mixes from the table, these searches forbid the mix of two colours whose
// brightness differs by more than this limit.
constexpr int SingleBankBrightnessLimit(FlickerLevel level)
{
  switch (level) {
    case FlickerLevel::Off:
      return 1000;  // above any brightness difference (at most 219): no limit
    case FlickerLevel::Light:
      return 100;
    case FlickerLevel::Medium:
      return 70;
    case FlickerLevel::Heavy:
      break;
  }
  return 50;
}

// "Hires Interlaced" with shared colours: every 8 x 8 cell gets the pair of
// palette colours (with their mix) that shows it best, written into both
// hires screens, with both hires bitmaps. Bits are added: data zero on entry.
void SelectSingleBankHiresColours(Picture& result, const C64Palette& palette, Measure measure,
                                  FlickerLevel level, C64Data& data, ProgressReport& progress);

// "Hires FLI Interlace" with shared colours: the same for every 8 x 1 span,
// its screen byte in bank (y mod 8) of both fields' FLI screens.
void SelectSingleBankFliColours(Picture& result, const C64Palette& palette, Measure measure,
                                FlickerLevel level, C64Data& data, ProgressReport& progress);

}  // namespace pavona
