#pragma once

#include <array>
#include <cstdint>

#include "colour/mix_table.h"

namespace pavona {

// Entry k is i * 16 + j of the k-th pair (i, j), i <= j, in mix-slot order:
// the high nibble is the C64 colour of field 1, the low nibble that of field 2.
constexpr std::array<std::uint32_t, MixColourCount> MakeMixPairCodes()
{
  std::array<std::uint32_t, MixColourCount> codes{};
  int slot = 0;
  for (std::uint32_t i = 0; i < 16; ++i) {
    for (std::uint32_t j = i; j < 16; ++j) {
      codes[slot++] = i * 16 + j;
    }
  }
  return codes;
}

inline constexpr std::array<std::uint32_t, MixColourCount> MixPairCodes = MakeMixPairCodes();

// The slot of the mix of C64 colours a and b, whichever field shows which.
// clang-format off
constexpr int MixSlotOfColours(int a, int b) { return a <= b ? PairSlot(a, b) : PairSlot(b, a); }
// clang-format on

}  // namespace pavona
