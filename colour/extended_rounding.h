#pragma once

#include <bit>
#include <cstdint>

namespace pavona {

// A number held exactly as an integer count of some fixed power of two.
// GCC and Clang have 128-bit integers on every 64-bit target.
using Exact = __int128;

// What the 64-bit-mantissa extended type does with the exact result of each
// operation: rounds it to 64 significant bits, to nearest, ties to even. The
// magnitude gets half a unit of the last kept bit less one, plus that bit,
// and the bits below are dropped, so it carries into the kept bits exactly
// when the dropped part is more than half, or half with the last kept bit
// odd.
inline Exact RoundToExtended(Exact value)
{
  using Magnitude = unsigned __int128;
  const Exact sign = value >> 127;  // all ones for a negative value, else 0
  const auto magnitude = Magnitude((value ^ sign) - sign);
  const int excess = std::bit_width(std::uint64_t(magnitude >> 64));
  if (excess == 0) {
    return value;  // 64 bits or fewer: nothing to round
  }
  const Magnitude unit = Magnitude(1) << excess;
  const Magnitude lastBit = (magnitude >> excess) & 1;
  const Magnitude rounded = (magnitude + (unit / 2 - 1 + lastBit)) & ~(unit - 1);
  return (Exact(rounded) ^ sign) - sign;
}

}  // namespace pavona
