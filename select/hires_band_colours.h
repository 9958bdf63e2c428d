#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "colour/picture.h"

namespace pavona {

// The distinct colours of a band of whole pixel rows, and the number of each
// pixel's colour within the band. A dithered picture holds at most 136
// distinct values and a band far fewer, so the hires searches work out every
// distance once per colour of a band and then only look them up.
class BandColours {
 public:
  // Indexes pixel rows [firstRow, firstRow + rowCount) of the picture.
  void Index(const Picture& picture, int firstRow, int rowCount);

  int Count() const { return int(colours_.size()); }
  std::uint32_t Colour(int id) const { return colours_[id]; }
  // The colour number of pixel (x, firstRow + row).
  int IdAt(int x, int row) const { return ids_[row * PictureWidth + x]; }

 private:
  std::vector<std::uint32_t> colours_;
  std::vector<std::uint16_t> ids_;
  std::vector<std::uint32_t> slotKeys_;  // open-addressing hash: colour per slot
  std::vector<std::uint16_t> slotIds_;   // colour number + 1, 0 for an empty slot
};

// One distinct colour of a unit (a cell or a span) and how many of the unit's
// pixels have it.
struct UnitColour {
  int id;
  int count;
};

// The distinct colours of the pixels x = left .. left + 7, band rows
// firstRow .. firstRow + rowCount - 1, in order of first appearance.
// Returns how many were written to colours (at most 8 * rowCount).
int GatherUnitColours(const BandColours& band, int left, int firstRow, int rowCount,
                      UnitColour* colours);

// The pair with the least error over a unit's colours: shareOf(id) returns a
// colour's share of each pair's error (as a reference to an array of
// PairCount values), which counts once for each of its pixels. The first pair
// with the least error wins; later pairs win only when strictly better.
template <std::size_t PairCount, typename ShareOf>
int LeastErrorPair(const UnitColour* colours, int colourCount, ShareOf shareOf)
{
  std::array<std::uint32_t, PairCount> error{};
  for (int c = 0; c < colourCount; ++c) {
    const std::uint32_t count = colours[c].count;
    const std::array<std::uint32_t, PairCount>& share = shareOf(colours[c].id);
    for (std::size_t k = 0; k < PairCount; ++k) {
      error[k] += count * share[k];
    }
  }
  int best = 0;
  for (int k = 1; k < int(PairCount); ++k) {
    if (error[k] < error[best]) {
      best = k;
    }
  }
  return best;
}

}  // namespace pavona
