#pragma once

#include <cstdint>

#include "colour/picture.h"
#include "colour/yuv.h"

namespace pavona {

// The forward conversion (ColourToYuv, ColourToYuvFloat, LumaAsFloat) in
// 64-bit integers, inline for the per-pixel hot loops.
//
// The conversion is defined in 64-bit-mantissa extended floating point, the
// constants being the doubles nearest to their decimals. Why integers give
// the same numbers: every coefficient is a double of at least 1/16, so it is
// a whole multiple of 2^-56; times an 8-bit channel it stays a multiple of
// 2^-56, and every partial sum of the conversions lies below 256 in
// magnitude. Such a value has at most 64 significant bits, so the extended
// arithmetic never rounds: its result is the exact sum. Scaled by 2^56 that
// sum is an integer below 2^64, and unsigned wrap-around takes care of the
// negative terms because the final value is positive (Y, U and V are at
// least 16).
namespace fixed_point {

constexpr int FractionBits = 56;
constexpr std::uint64_t One = std::uint64_t(1) << FractionBits;

// The coefficient as an integer multiple of 2^-56; the multiplication by a
// power of two and the conversion are both exact.
constexpr std::uint64_t Scaled(double coefficient)
{
  return std::uint64_t(coefficient * double(One));
}
constexpr std::uint64_t Negated(double coefficient)
{
  return 0 - Scaled(coefficient);
}

// A coefficient that were not a whole multiple of 2^-56 would make the
// integer form differ from the extended one.
static_assert(double(Scaled(0.071)) == 0.071 * double(One));
static_assert(double(Scaled(0.098)) == 0.098 * double(One));

constexpr std::uint64_t LumaScaled(std::uint64_t red, std::uint64_t green, std::uint64_t blue)
{
  return Scaled(0.257) * red + Scaled(0.504) * green + Scaled(0.098) * blue + 16 * One;
}

constexpr std::uint64_t ChromaUScaled(std::uint64_t red, std::uint64_t green, std::uint64_t blue)
{
  return Negated(0.148) * red + Negated(0.291) * green + Scaled(0.439) * blue + 128 * One;
}

constexpr std::uint64_t ChromaVScaled(std::uint64_t red, std::uint64_t green, std::uint64_t blue)
{
  return Scaled(0.439) * red + Negated(0.368) * green + Negated(0.071) * blue + 128 * One;
}

// The exact value rounded once to float, as the conversion of the extended
// result to float does: the conversion from a 64-bit integer rounds to
// nearest (ties to even), and the scaling by 2^-56 is exact.
inline float ToFloat(std::uint64_t scaled)
{
  return float(scaled) * 0x1p-56f;
}

}  // namespace fixed_point

constexpr Yuv ColourToYuvFixed(std::uint32_t colour)
{
  using namespace fixed_point;
  const auto red = std::uint64_t(RedOf(colour));
  const auto green = std::uint64_t(GreenOf(colour));
  const auto blue = std::uint64_t(BlueOf(colour));
  // All three are positive, so truncation toward zero is the shift.
  return {int(LumaScaled(red, green, blue) >> FractionBits),
          int(ChromaUScaled(red, green, blue) >> FractionBits),
          int(ChromaVScaled(red, green, blue) >> FractionBits)};
}

inline float LumaAsFloatFixed(std::uint32_t colour)
{
  using namespace fixed_point;
  return ToFloat(LumaScaled(RedOf(colour), GreenOf(colour), BlueOf(colour)));
}

}  // namespace pavona
