#pragma once

// The blurred error of a shown picture against its target, straight from the
// sums, as the plain twin of BlurredErrorField, and the pixels' own luma term
// that Refine adds to it.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "colour/picture.h"
#include "refine/blurred_error_field.h"

namespace pavona::testing {

// The plain definitions, straight from the sums: the blurred error at every
// pixel (zero beyond the frame), its sum of squares over the counted columns,
// and the gradient as that error weighed by the kernel around a pixel.
using Plane = std::vector<std::array<double, 3>>;

inline double Kernel(int dx, int dy)
{
  static const auto weights = BlurredErrorField::Weights();
  constexpr int r = BlurredErrorField::Radius;
  if (std::abs(dx) > r || std::abs(dy) > r) {
    return 0;
  }
  return double(weights[dx + r]) * double(weights[dy + r]);
}

inline Plane PlainBlurredError(const Picture& shown, const Picture& target)
{
  Plane error(PixelCount, {0, 0, 0});
  constexpr int r = BlurredErrorField::Radius;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      for (int sy = std::max(0, y - r); sy <= std::min(PictureHeight - 1, y + r); ++sy) {
        for (int sx = std::max(0, x - r); sx <= std::min(PictureWidth - 1, x + r); ++sx) {
          const Channels d =
              ColourDifference(shown[PixelIndex(sx, sy)], target[PixelIndex(sx, sy)]);
          for (int c = 0; c < 3; ++c) {
            error[PixelIndex(x, y)][c] += Kernel(sx - x, sy - y) * d[c];
          }
        }
      }
    }
  }
  return error;
}

inline double PlainSquares(const Plane& error, int firstColumn)
{
  double sum = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      for (double e : error[PixelIndex(x, y)]) {
        sum += e * e;
      }
    }
  }
  return sum;
}

inline std::array<double, 3> PlainGradient(const Plane& error, int firstColumn, int x, int y)
{
  std::array<double, 3> gradient{0, 0, 0};
  constexpr int r = BlurredErrorField::Radius;
  for (int qy = std::max(0, y - r); qy <= std::min(PictureHeight - 1, y + r); ++qy) {
    for (int qx = std::max(firstColumn, x - r); qx <= std::min(PictureWidth - 1, x + r); ++qx) {
      for (int c = 0; c < 3; ++c) {
        gradient[c] += Kernel(qx - x, qy - y) * error[PixelIndex(qx, qy)][c];
      }
    }
  }
  return gradient;
}

// Each pixel's own luma difference to the target, squared and summed over
// the counted columns: the unblurred term beside the blurred error.
inline double PlainOwnLuma(const Picture& shown, const Picture& target, int firstColumn)
{
  const auto luma = [](std::uint32_t c) {
    return 0.299 * RedOf(c) + 0.587 * GreenOf(c) + 0.114 * BlueOf(c);
  };
  double sum = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      const double d = luma(shown[PixelIndex(x, y)]) - luma(target[PixelIndex(x, y)]);
      sum += d * d;
    }
  }
  return sum;
}

}  // namespace pavona::testing
