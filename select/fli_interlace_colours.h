#pragma once

#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// "Hires FLI Interlace" with two colours per span: reduces every 8x1 span to
// the two of its own mix colours that reproduce it best (the first pair of
// positions wins among equal errors). A pixel equally far from both takes the
// second colour. Writes no C64 data: BuildFliInterlaceData turns the reduced
// picture into the FLI regions afterwards. Sets no status text at its start
// (the conversion run has set it), " " at its end.
void SelectFliInterlaceColours(Picture& result, const MixTable& table, Measure measure,
                               ProgressReport& progress);

}  // namespace pavona
