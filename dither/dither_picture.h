#pragma once

#include <cstdint>

#include "colour/colour_match.h"
#include "colour/graphic_mode.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"
#include "dither/dither_settings.h"

namespace pavona {

// The first 64000 bytes of the three planes as a 0x00RRGGBB picture.
Picture PictureFromPlanes(const AdjustedPlanes& planes);
// The same, written into `picture` (on the heap, where the stack may be short).
void PictureFromPlanes(const AdjustedPlanes& planes, Picture& picture);

// The dithering stage of a conversion: replaces every pixel of the planes by
// a mix colour of the table (slots 0..15 in the modes without interlace,
// 0..135 otherwise) by the selected method, reporting its status text and
// progress (the multicolour modes without interlace in pixels two wide, see
// DitherWidePixels), and finally shows the dithered picture (all 200 rows) and sets
// the progress bar to 0. The random method continues the generator state.
void DitherPicture(AdjustedPlanes& planes, const MixTable& table, Measure measure, GraphicMode mode,
                   const DitherSettings& settings, std::uint32_t& randomState,
                   ProgressReport& progress);

}  // namespace pavona
