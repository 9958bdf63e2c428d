#pragma once

#include "c64/c64_data.h"
#include "colour/graphic_mode.h"

namespace pavona::testing {

// The colour numbers of pixel (x, y) in each field, read from the C64 data
// the way the video chip reads it.
struct FieldColours {
  int field1, field2;
};

inline FieldColours DecodePixel(const C64Data& data, GraphicMode mode, int x, int y)
{
  const int cx = x / 8, cy = y / 8, row = y % 8, bit = 7 - x % 8;
  FieldColours colours{};
  for (int field = 0; field < 2; ++field) {
    int screen, bitmap;
    if (IsFli(mode)) {
      screen = field * 0x4000 + row * ScreenBankSize + ScreenOffset(cx, cy);
      bitmap = field * 0x4000 + 0x2000 + BitmapOffset(cx, cy, row);
    } else {
      screen = field * 0x2400 + ScreenOffset(cx, cy);
      bitmap = field * 0x2400 + 0x0400 + BitmapOffset(cx, cy, row);
    }
    const int colour = (data[bitmap] >> bit) & 1 ? data[screen] >> 4 : data[screen] & 15;
    (field == 0 ? colours.field1 : colours.field2) = colour;
  }
  return colours;
}

}  // namespace pavona::testing
