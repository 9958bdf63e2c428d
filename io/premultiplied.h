#pragma once

#include <cstdint>

// Transparent pixels are shown over black: each colour channel is multiplied
// by the pixel's opacity. The rounding is the one pictures have always been
// loaded with, so that a file gives the same frame as before, bit for bit.
namespace pavona {

// An 8-bit channel times an 8-bit opacity, rounded to nearest (c * a / 255).
constexpr std::uint8_t Premultiplied8(std::uint32_t channel, std::uint32_t alpha)
{
  const std::uint32_t product = channel * alpha;
  return std::uint8_t((product + (product >> 8) + 0x80) >> 8);
}

// A 16-bit channel times a 16-bit opacity, rounded to nearest (c * a / 65535).
constexpr std::uint16_t Premultiplied16(std::uint32_t channel, std::uint32_t alpha)
{
  const std::uint32_t product = channel * alpha;
  return std::uint16_t((product + (product >> 16) + 0x8000) >> 16);
}

// A 16-bit channel brought to 8 bits, rounded to nearest (c * 255 / 65535).
constexpr std::uint8_t EightBitsOf(std::uint32_t channel16)
{
  const std::uint32_t rounded = channel16 + 0x80;
  return std::uint8_t((rounded - (rounded >> 8)) >> 8);
}

}  // namespace pavona
