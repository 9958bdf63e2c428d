#include "framing/linear_light.h"

#include <cmath>

namespace pavona {

namespace {

double SrgbToLinear(double value)
{
  return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double value)
{
  return value <= 0.0031308 ? value * 12.92 : 1.055 * std::pow(value, 1 / 2.4) - 0.055;
}

}  // namespace

const std::array<std::uint16_t, 256>& LinearOfByte()
{
  static const auto table = [] {
    std::array<std::uint16_t, 256> values{};
    for (int i = 0; i < 256; ++i) {
      values[i] = std::uint16_t(std::lround(SrgbToLinear(i / 255.0) * 65535));
    }
    return values;
  }();
  return table;
}

const std::vector<std::uint8_t>& ByteOfLinear()
{
  static const auto table = [] {
    std::vector<std::uint8_t> values(65536);
    for (int i = 0; i < 65536; ++i) {
      values[i] = std::uint8_t(std::lround(LinearToSrgb(i / 65535.0) * 255));
    }
    return values;
  }();
  return table;
}

}  // namespace pavona
