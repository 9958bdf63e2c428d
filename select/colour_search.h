#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// The colour selection that a conversion runs: exactly one per conversion.
enum class ColourSearch {
  Hires,                  // "Hires Standard"
  HiresInterlace,         // "Hires Interlaced"
  SingleBankHires,        // "Hires Interlaced" with "Same Col Banks"
  Fli,                    // "Hires FLI"
  FliExtreme,             // "Hires FLI" with "Extra Brute Force"
  FliInterlace,           // "Hires FLI Interlace", two colours per span, one shared bitmap
  FliFourColours,         // ... with "4 cols per 8x1"
  FliFourColoursExtreme,  // ... and "Extra Brute Force"
  SingleBankFli,          // "Hires FLI Interlace" with "Same Col Banks"
  Multicolour,            // "Multicolour"
  MulticolourFli,         // "Multicolour FLI"
  MulticolourInterlace,   // "Multicolour Interlace"
};

// What the searches read besides the dithered picture: the mix table the
// picture was dithered onto (the single-bank searches make mixes of their own
// from the palette and the flicker level instead).
struct SearchTables {
  const MixTable& mix;
  const C64Palette& palette;
  Measure measure;
  FlickerLevel flicker;
};

// Runs `search` on the dithered picture in `result`, which it replaces by what
// the C64 will show, and writes the chosen colours and bitmaps into `data`.
void RunColourSearch(ColourSearch search, const SearchTables& tables, Picture& result,
                     C64Data& data, ProgressReport& progress);

}  // namespace pavona
