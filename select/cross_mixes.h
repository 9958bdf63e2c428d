#pragma once

#include <cstdint>

#include "colour/mix_pair_codes.h"
#include "colour/mix_table.h"

namespace pavona {

// With four colours per 8x1 the fields have separate bitmaps, so besides the
// base mixes A (pair code a = a1 a2, both bits 1) and B (b = b1 b2, both bits
// 0) a pixel can show the cross mixes C1 = a1 with b2 (field 1 bit only) and
// C2 = b1 with a2 (field 2 bit only). A cross mix that the flicker reduction
// removed stands in as a copy of A or B, which can never be nearer than they
// are: the searches simply leave it out (slot -1).
inline int CrossMixSlot(const MixTable& table, std::uint32_t field1, std::uint32_t field2)
{
  const int slot = MixSlotOfColours(int(field1), int(field2));
  return IsRemovedMix(table, slot) ? -1 : slot;
}

inline int CrossMix1(const MixTable& table, std::uint32_t a, std::uint32_t b)
{
  return CrossMixSlot(table, a >> 4, b & 0x0F);
}

inline int CrossMix2(const MixTable& table, std::uint32_t a, std::uint32_t b)
{
  return CrossMixSlot(table, b >> 4, a & 0x0F);
}

// The span's screen bytes: field 1 shows a1 on its 1-bits and b1 on its
// 0-bits, field 2 shows a2 and b2.
inline std::uint8_t FieldOneScreenByte(std::uint32_t a, std::uint32_t b)
{
  return std::uint8_t((a & 0xF0) | (b >> 4));
}

inline std::uint8_t FieldTwoScreenByte(std::uint32_t a, std::uint32_t b)
{
  return std::uint8_t(((a & 0x0F) << 4) | (b & 0x0F));
}

// Bitmap bits of a pixel that shows A, B, C1 or C2, as {field 1, field 2}.
enum class FourMix { A, B, C1, C2 };
constexpr bool FieldOneBit(FourMix mix)
{
  return mix == FourMix::A || mix == FourMix::C1;
}
constexpr bool FieldTwoBit(FourMix mix)
{
  return mix == FourMix::A || mix == FourMix::C2;
}

}  // namespace pavona
