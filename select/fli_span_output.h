#pragma once

#include <cstdint>

#include "c64/c64_data.h"
#include "select/cross_mixes.h"

namespace pavona {

// The writes of one searched 8x1 span, pixel row r of cell (cx, cy), into
// the FLI regions. Bitmap bits are added to what is there (the searches start
// from zeroed data); screen bytes go into bank r.

// Two colours per span: FliBitmap1 and FliScreens1 only.
inline void WriteFliSpan(C64Data& data, int cx, int cy, int r, std::uint8_t bits,
                         std::uint8_t screen)
{
  data[FliLayout::FliBitmap1.offset + BitmapOffset(cx, cy, r)] |= bits;
  data[FliLayout::FliScreens1.offset + FliScreenOffset(cx, cy, r)] = screen;
}

// The bitmap bits of a four-colour span in both fields.
struct FourMixBits {
  std::uint8_t field1 = 0;
  std::uint8_t field2 = 0;

  // Pixel k (0 the leftmost) shows `mix`.
  void Set(int k, FourMix mix)
  {
    field1 |= FieldOneBit(mix) ? std::uint8_t(0x80 >> k) : 0;
    field2 |= FieldTwoBit(mix) ? std::uint8_t(0x80 >> k) : 0;
  }
};

// Four colours per span from the base mixes with pair codes a and b: all four
// FLI regions.
inline void WriteFourColourSpan(C64Data& data, int cx, int cy, int r, FourMixBits bits,
                                std::uint32_t a, std::uint32_t b)
{
  const int bitmap = BitmapOffset(cx, cy, r);
  const int screen = FliScreenOffset(cx, cy, r);
  data[FliLayout::FliBitmap1.offset + bitmap] |= bits.field1;
  data[FliLayout::FliBitmap2.offset + bitmap] |= bits.field2;
  data[FliLayout::FliScreens1.offset + screen] = FieldOneScreenByte(a, b);
  data[FliLayout::FliScreens2.offset + screen] = FieldTwoScreenByte(a, b);
}

}  // namespace pavona
