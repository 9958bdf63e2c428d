#pragma once

#include <cstdint>
#include <cstdlib>

#include "colour/colour_match.h"
#include "colour/picture.h"
#include "colour/yuv.h"

namespace pavona {

// The error of showing `colour` for a pixel of a cell, by the chosen measure,
// as the cell searches of the modes without interlace add it up.
// Unsigned arithmetic throughout: the sums are defined as 32-bit unsigned
// values, and squaring a difference this way cannot overflow a signed int.
inline std::uint32_t CellDistance(Measure measure, std::uint32_t pixel, const Yuv& pixelYuv,
                                  std::uint32_t colour, const Yuv& colourYuv)
{
  switch (measure) {
    case Measure::RgbDistance:
      return std::uint32_t(std::abs(RedOf(pixel) - RedOf(colour)) +
                           std::abs(GreenOf(pixel) - GreenOf(colour)) +
                           std::abs(BlueOf(pixel) - BlueOf(colour)));
    case Measure::Brightness:
      return std::uint32_t(std::abs(pixelYuv.y - colourYuv.y));
    case Measure::Perceptual:
      break;
  }
  const std::uint32_t dy = std::uint32_t(pixelYuv.y) - std::uint32_t(colourYuv.y);
  const std::uint32_t du = std::uint32_t(pixelYuv.u) - std::uint32_t(colourYuv.u);
  const std::uint32_t dv = std::uint32_t(pixelYuv.v) - std::uint32_t(colourYuv.v);
  return 2 * (dy * dy + du * du + dv * dv);
}

}  // namespace pavona
