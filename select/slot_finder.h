#pragma once

#include <array>
#include <cstdint>

#include "colour/mix_table.h"

namespace pavona {

// Gives what FindMixIndex gives (the lowest of the first `count` slots holding
// a colour, or -1) in a probe or two instead of a walk over the table: the
// searches ask it for every pixel of the frame.
class SlotFinder {
 public:
  SlotFinder(const MixTable& table, int count)
  {
    slots_.fill(-1);
    // Slots go in from the lowest, and a colour already present keeps its
    // slot, so duplicates (removed mixes, equal palette colours) find the
    // lowest one.
    for (int slot = 0; slot < count; ++slot) {
      const std::uint32_t colour = table.colour[slot];
      int at = Home(colour);
      while (slots_[at] >= 0 && keys_[at] != colour) {
        at = (at + 1) % Size;
      }
      if (slots_[at] < 0) {
        keys_[at] = colour;
        slots_[at] = std::int16_t(slot);
      }
    }
  }

  int Find(std::uint32_t colour) const
  {
    for (int at = Home(colour);; at = (at + 1) % Size) {
      if (slots_[at] < 0) {
        return -1;
      }
      if (keys_[at] == colour) {
        return slots_[at];
      }
    }
  }

 private:
  // Nearly four times the 136 mix slots: the table is never more than a
  // quarter full, so probe chains stay short and always end at a free entry.
  static constexpr int Size = 512;
  static int Home(std::uint32_t colour) { return int((colour * 2654435761u) >> 23); }

  std::array<std::uint32_t, Size> keys_{};
  std::array<std::int16_t, Size> slots_{};
};

}  // namespace pavona
