#pragma once

#include "colour/picture.h"
#include "core/settings.h"

namespace pavona {

// Applies the per-channel offsets, the brightness offset and the contrast to
// every pixel of the source frame and writes the three adjusted planes. Each
// channel value v with its offset o becomes
//   (v + o + brightness - 128) * (contrast + 100) / 100 + 128
// with the division truncating toward zero, clamped to 0..255. Values outside
// the track bars' ranges are first limited to them, as the track bars would.
// Only the first 64000 bytes of each plane are written.
void AdjustColours(const Picture& source, const ColourAdjustment& adjustment,
                   AdjustedPlanes& planes);

}  // namespace pavona
