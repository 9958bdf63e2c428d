#pragma once

#include <cstdint>

namespace pavona {

struct Yuv {
  int y;
  int u;
  int v;
  friend bool operator==(const Yuv&, const Yuv&) = default;
};

// The integer Y, U, V of a colour (Y 16..235, U and V 16..239): 0.257 R +
// 0.504 G + 0.098 B + 16, -0.148 R - 0.291 G + 0.439 B + 128 and 0.439 R -
// 0.368 G - 0.071 B + 128, evaluated in 64-bit-mantissa extended precision
// (the constants being the doubles nearest to their decimals) and truncated
// toward zero. Plain double arithmetic would give one less for a few hundred
// colours whose exact value is whole.
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

// The colour of Y, U, V on the way back: R = y + 1.370705 (v - 128), G = y -
// 0.698001 (v - 128) - 0.337633 (u - 128), B = y + 1.732446 (u - 128), each
// evaluated left to right in 64-bit-mantissa extended precision (the constants
// being the doubles nearest to their decimals), truncated toward zero and
// clamped to 0..255. The offset 16 of Y is not taken off. y, u and v are at
// least 1 and below 256: the whole Y, U, V of a colour, or the average of two
// colours' unrounded ones.
std::uint32_t YuvToColour(float y, float u, float v);

}  // namespace pavona
