#include "colour/yuv.h"

#include <algorithm>
#include <cstdint>

#include "colour/extended_rounding.h"
#include "colour/picture.h"
#include "colour/yuv_fixed_point.h"

namespace pavona {

Yuv ColourToYuv(int red, int green, int blue)
{
  return ColourToYuvFixed(MakeColour(red, green, blue));
}

Yuv ColourToYuv(std::uint32_t colour)
{
  return ColourToYuvFixed(colour);
}

YuvFloat ColourToYuvFloat(std::uint32_t colour)
{
  using namespace fixed_point;
  const auto red = std::uint64_t(RedOf(colour));
  const auto green = std::uint64_t(GreenOf(colour));
  const auto blue = std::uint64_t(BlueOf(colour));
  return {ToFloat(LumaScaled(red, green, blue)), ToFloat(ChromaUScaled(red, green, blue)),
          ToFloat(ChromaVScaled(red, green, blue))};
}

float LumaAsFloat(int red, int green, int blue)
{
  return LumaAsFloatFixed(MakeColour(red, green, blue));
}

namespace {

// The way back rounds: a float times a 53-bit coefficient needs up to 77
// significant bits, more than the extended type's 64. So each operation is
// carried out here as the extended arithmetic does it: exactly, then rounded
// to 64 significant bits, to nearest with ties to even. Every value involved
// is a whole multiple of 2^-77 (a float of at least 1 is a multiple of 2^-23,
// each coefficient one of 2^-54, and rounding to fewer bits keeps a multiple),
// and none reaches 2^9 in magnitude, so held as integers at that scale they
// fit in 128 bits and every exact sum and product is computable. On every
// input the tests can try, this rounding never moves a channel across a whole
// number; it is kept so that the inputs nobody can try all of (the pairs of
// float U and V of the green channel) give the extended type's numbers too.
constexpr int InputFractionBits = 23;
constexpr int CoefficientFractionBits = 54;
constexpr int FractionBits = InputFractionBits + CoefficientFractionBits;

constexpr Exact Coefficient(double value)
{
  return Exact(value * 0x1p54);
}

// 1.370705 and 1.732446 lie in [1, 2), 0.698001 in [0.5, 1) and 0.337633 in
// [0.25, 0.5): all whole multiples of 2^-54.
constexpr Exact RedFromV = Coefficient(1.370705);
constexpr Exact GreenFromV = Coefficient(0.698001);
constexpr Exact GreenFromU = Coefficient(0.337633);
constexpr Exact BlueFromU = Coefficient(1.732446);
static_assert(double(GreenFromU) == 0.337633 * 0x1p54);

// A float of at least 1 and below 256 as a whole number of 2^-23.
std::int64_t InputUnits(float value)
{
  return std::int64_t(double(value) * 0x1p23);
}

// c (w - 128): the difference is exact (below 2^7 and a multiple of 2^-23),
// the product rounds.
Exact Times(Exact coefficient, float w)
{
  const std::int64_t difference = InputUnits(w) - (std::int64_t(128) << InputFractionBits);
  return RoundToExtended(coefficient * difference);
}

// Truncation toward zero and the clamp: a negative value truncates to 0 or
// less and ends at 0 either way; a positive one truncates by the shift.
int TruncateAndClamp(Exact value)
{
  if (value < 0) {
    return 0;
  }
  return int(std::min<Exact>(value >> FractionBits, 255));
}

}  // namespace

std::uint32_t YuvToColour(float y, float u, float v)
{
  const Exact luma = Exact(InputUnits(y)) << CoefficientFractionBits;
  const Exact red = RoundToExtended(luma + Times(RedFromV, v));
  const Exact green =
      RoundToExtended(RoundToExtended(luma - Times(GreenFromV, v)) - Times(GreenFromU, u));
  const Exact blue = RoundToExtended(luma + Times(BlueFromU, u));
  return MakeColour(TruncateAndClamp(red), TruncateAndClamp(green), TruncateAndClamp(blue));
}

}  // namespace pavona
