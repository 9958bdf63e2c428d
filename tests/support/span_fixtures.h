#pragma once

// Building single spans by hand and reading back what a search wrote for them.

#include <array>
#include <cstdint>
#include <ostream>

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/picture.h"

namespace pavona::testing {

using Span = std::array<std::uint32_t, 8>;

inline void PutSpan(Picture& picture, int cx, int y, const Span& span)
{
  std::copy(span.begin(), span.end(), picture.begin() + PixelIndex(cx * 8, y));
}

inline Span SpanAt(const Picture& picture, int cx, int y)
{
  Span span;
  std::copy_n(picture.begin() + PixelIndex(cx * 8, y), 8, span.begin());
  return span;
}

struct SpanBytes {
  int bitmap1, bitmap2, screen1, screen2;
  friend bool operator==(const SpanBytes&, const SpanBytes&) = default;
  friend void PrintTo(const SpanBytes& bytes, std::ostream* out)
  {
    *out << std::hex << "bitmaps " << bytes.bitmap1 << "/" << bytes.bitmap2 << ", screens "
         << bytes.screen1 << "/" << bytes.screen2 << std::dec;
  }
};

inline SpanBytes FliBytesOf(const C64Data& data, int cx, int y)
{
  using namespace FliLayout;
  const int bitmap = BitmapOffset(cx, y / 8, y % 8);
  const int screen = (y % 8) * ScreenBankSize + ScreenOffset(cx, y / 8);
  return {data[FliBitmap1.offset + bitmap], data[FliBitmap2.offset + bitmap],
          data[FliScreens1.offset + screen], data[FliScreens2.offset + screen]};
}

// True when the spare tails of the four FLI regions (bytes 1000..1023 of
// every bank, 8000..8191 of every bitmap) are all 0.
inline bool FliSpareBytesClear(const C64Data& data)
{
  using namespace FliLayout;
  for (C64Region screens : {FliScreens1, FliScreens2}) {
    for (int bank = 0; bank < 8; ++bank) {
      for (int i = ScreenBytesUsed; i < ScreenBankSize; ++i) {
        if (data[screens.offset + bank * ScreenBankSize + i] != 0) {
          return false;
        }
      }
    }
  }
  for (C64Region bitmap : {FliBitmap1, FliBitmap2}) {
    for (int i = BitmapBytesUsed; i < BitmapSize; ++i) {
      if (data[bitmap.offset + i] != 0) {
        return false;
      }
    }
  }
  return true;
}

inline std::uint32_t Grey(int level)
{
  return MakeColour(level, level, level);
}

// A table of 16 greys 16 * k in slots 0..15, the rest copies of slot 0 as in
// the modes without interlace. RGB distances between them are 48 * |k - l|.
inline MixTable SixteenGreys()
{
  MixTable table{};
  for (int slot = 0; slot < MixColourCount; ++slot) {
    table.colour[slot] = Grey(slot < 16 ? 16 * slot : 0);
  }
  return table;
}

}  // namespace pavona::testing
