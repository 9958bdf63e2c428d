#include "dither/allowed_mixes.h"

#include <algorithm>

namespace pavona {

AllowedMixes::AllowedMixes(const MixTable& table, Measure measure)
    : table_(table), measure_(measure), slots_(PixelCount), count_(PixelCount, 0)
{
}

void AllowedMixes::Allow(int offset, std::span<const std::uint8_t> slots)
{
  std::array<std::uint8_t, MostPerPixel>& kept = slots_[offset];
  int count = 0;
  for (std::uint8_t slot : slots) {
    if (count < MostPerPixel &&
        std::find(kept.begin(), kept.begin() + count, slot) == kept.begin() + count) {
      kept[count++] = slot;
    }
  }
  // Increasing slot order gives the whole-table search's tie rule.
  std::sort(kept.begin(), kept.begin() + count);
  count_[offset] = std::uint8_t(count);
}

}  // namespace pavona
