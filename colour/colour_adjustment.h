#pragma once

#include "colour/picture.h"

namespace pavona {

// The five colour adjustment track bars.
struct ColourAdjustment {
  int red = 0;         // -255..255
  int green = 0;       // -255..255
  int blue = 0;        // -255..255
  int brightness = 0;  // -255..255
  int contrast = 0;    // -100..100, percent added to 100
  friend bool operator==(const ColourAdjustment&, const ColourAdjustment&) = default;
};

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
