#pragma once

#include <array>
#include <cstdint>
#include <vector>

// sRGB bytes and linear light in 16 bits, for averaging pixels as light adds
// up (the average of black and white is sRGB 188, not 128).
namespace pavona {

// sRGB byte -> linear light in 0..65535.
const std::array<std::uint16_t, 256>& LinearOfByte();

// Linear light in 0..65535 -> the nearest sRGB byte.
const std::vector<std::uint8_t>& ByteOfLinear();

}  // namespace pavona
