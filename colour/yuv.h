#pragma once

#include <cstdint>

namespace pavona {

struct Yuv {
  int y;
  int u;
  int v;
  friend bool operator==(const Yuv&, const Yuv&) = default;
};

// The integer Y, U, V of a colour (Y 16..235, U and V 16..239), evaluated in
// extended precision and truncated toward zero.
Yuv ColourToYuv(int red, int green, int blue);
Yuv ColourToYuv(std::uint32_t colour);

// The unrounded Y, U, V, each evaluated in extended precision and kept as a
// 32-bit float: the colour values of the single-bank searches.
struct YuvFloat {
  float y;
  float u;
  float v;
};
YuvFloat ColourToYuvFloat(std::uint32_t colour);

// The unrounded luma 0.257 R + 0.504 G + 0.098 B + 16 kept as a 32-bit float,
// the pixel brightness of "'Y' Brightness" matching.
float LumaAsFloat(int red, int green, int blue);

}  // namespace pavona
