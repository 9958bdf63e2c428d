#pragma once

#include <array>
#include <cstdint>

namespace pavona {

// Slots 0..135 hold the mixes of the pairs (i, j), 0 <= i <= j <= 15, i outer
// and j inner; slots 136..143 are never written and stay 0.
constexpr int MixSlotCount = 144;
constexpr int MixColourCount = 136;

struct MixTable {
  std::array<std::uint32_t, MixSlotCount> colour{};  // 0x00RRGGBB
  std::array<std::int32_t, MixSlotCount> y{};
  std::array<std::int32_t, MixSlotCount> u{};
  std::array<std::int32_t, MixSlotCount> v{};
  friend bool operator==(const MixTable&, const MixTable&) = default;
};

// Slot of the pure pair (n, n): 0, 16, 31, 45, ..., 135.
// clang-format off
constexpr int PureSlot(int n) { return 16 * n - n * (n - 1) / 2; }

// Slot of the pair (i, j) with i <= j.
constexpr int PairSlot(int i, int j) { return PureSlot(i) + (j - i); }
// clang-format on

// The flicker reduction removes a mix by copying slot 0 over it, so a slot
// other than 0 that holds slot 0's colour is out of play.
inline bool IsRemovedMix(const MixTable& table, int slot)
{
  return slot != 0 && table.colour[slot] == table.colour[0];
}

// The lowest slot in 0..count-1 holding the colour, or -1 when none does.
inline int FindMixIndex(const MixTable& table, std::uint32_t colour, int count = MixColourCount)
{
  for (int slot = 0; slot < count; ++slot) {
    if (table.colour[slot] == colour) {
      return slot;
    }
  }
  return -1;
}

}  // namespace pavona
