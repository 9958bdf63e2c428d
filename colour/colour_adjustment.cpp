#include "colour/colour_adjustment.h"

#include <algorithm>
#include <cstdint>

namespace pavona {

namespace {

int AdjustChannel(int value, int offset, int brightness, int contrast)
{
  // At most (255 + 255 + 255 - 128) * 200 in size: well inside 32 bits.
  const std::int32_t scaled = (value + offset + brightness - 128) * (contrast + 100);
  return std::clamp(scaled / 100 + 128, 0, 255);  // C++ division truncates toward zero
}

}  // namespace

void AdjustColours(const Picture& source, const ColourAdjustment& adjustment,
                   AdjustedPlanes& planes)
{
  const int red = std::clamp(adjustment.red, -OffsetLimit, OffsetLimit);
  const int green = std::clamp(adjustment.green, -OffsetLimit, OffsetLimit);
  const int blue = std::clamp(adjustment.blue, -OffsetLimit, OffsetLimit);
  const int brightness = std::clamp(adjustment.brightness, -OffsetLimit, OffsetLimit);
  const int contrast = std::clamp(adjustment.contrast, -ContrastLimit, ContrastLimit);
  for (int i = 0; i < PixelCount; ++i) {
    const std::uint32_t colour = source[i];
    planes.red[i] = std::uint8_t(AdjustChannel(RedOf(colour), red, brightness, contrast));
    planes.green[i] = std::uint8_t(AdjustChannel(GreenOf(colour), green, brightness, contrast));
    planes.blue[i] = std::uint8_t(AdjustChannel(BlueOf(colour), blue, brightness, contrast));
  }
}

}  // namespace pavona
