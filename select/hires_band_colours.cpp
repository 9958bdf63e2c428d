#include "select/hires_band_colours.h"

#include <bit>
#include <cstddef>

namespace pavona {

void BandColours::Index(const Picture& picture, int firstRow, int rowCount)
{
  const int pixels = rowCount * PictureWidth;
  // At least twice as many slots as pixels keeps the probe chains short.
  const std::size_t slots = std::bit_ceil(std::size_t(2 * pixels + 16));
  const std::size_t mask = slots - 1;
  // Fibonacci hashing: the top bits of the product index the table.
  const int shift = 32 - std::countr_zero(slots);
  slotKeys_.assign(slots, 0);
  slotIds_.assign(slots, 0);
  colours_.clear();
  ids_.resize(pixels);
  const std::uint32_t* source = picture.data() + firstRow * PictureWidth;
  for (int p = 0; p < pixels; ++p) {
    const std::uint32_t colour = source[p];
    std::size_t slot = std::uint32_t(colour * 0x9E3779B1u) >> shift;
    while (slotIds_[slot] != 0 && slotKeys_[slot] != colour) {
      slot = (slot + 1) & mask;
    }
    if (slotIds_[slot] == 0) {
      colours_.push_back(colour);
      slotKeys_[slot] = colour;
      slotIds_[slot] = std::uint16_t(colours_.size());
    }
    ids_[p] = std::uint16_t(slotIds_[slot] - 1);
  }
}

int GatherUnitColours(const BandColours& band, int left, int firstRow, int rowCount,
                      UnitColour* colours)
{
  int count = 0;
  for (int row = firstRow; row < firstRow + rowCount; ++row) {
    for (int x = left; x < left + 8; ++x) {
      const int id = band.IdAt(x, row);
      int found = 0;
      while (found < count && colours[found].id != id) {
        ++found;
      }
      if (found == count) {
        colours[count++] = {id, 0};
      }
      ++colours[found].count;
    }
  }
  return count;
}

}  // namespace pavona
