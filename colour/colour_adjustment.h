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

// The ranges of the five adjustments, -limit..limit: the track bars of the
// window and the options of the command line both take them from here.
inline constexpr int OffsetLimit = 255;
inline constexpr int ContrastLimit = 100;  // percent added to 100: 0 to 200 percent

struct AdjustmentRange {
  int ColourAdjustment::*setting;
  const char* name;  // "red": the command line's option is --red
  const char* description;
  int limit;
};

inline constexpr AdjustmentRange AdjustmentRanges[] = {
    {&ColourAdjustment::red, "red", "red offset", OffsetLimit},
    {&ColourAdjustment::green, "green", "green offset", OffsetLimit},
    {&ColourAdjustment::blue, "blue", "blue offset", OffsetLimit},
    {&ColourAdjustment::brightness, "brightness", "brightness offset", OffsetLimit},
    {&ColourAdjustment::contrast, "contrast", "contrast in percent", ContrastLimit},
};

// The limit of one adjustment; 0 for a member that is none of the table's.
constexpr int AdjustmentLimit(int ColourAdjustment::*setting)
{
  for (const AdjustmentRange& range : AdjustmentRanges) {
    if (range.setting == setting) {
      return range.limit;
    }
  }
  return 0;
}

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
