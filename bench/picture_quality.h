#pragma once

// How close a converted picture looks to its source from a viewing distance:
// both are blurred with a Gaussian (which the eye does to a dither) and
// compared by PSNR over the columns the mode shows.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "colour/picture.h"

namespace pavona::bench {

// One channel of a 320 x 200 picture in double precision.
using Plane = std::vector<double>;

inline std::array<Plane, 3> ChannelPlanes(const Picture& picture)
{
  std::array<Plane, 3> planes;
  for (Plane& plane : planes) {
    plane.resize(PixelCount);
  }
  for (int i = 0; i < PixelCount; ++i) {
    planes[0][i] = RedOf(picture[i]);
    planes[1][i] = GreenOf(picture[i]);
    planes[2][i] = BlueOf(picture[i]);
  }
  return planes;
}

// The normalised Gaussian weights at offsets -radius..radius, radius 3 sigma.
inline std::vector<double> GaussianWeights(double sigma)
{
  const int radius = int(std::ceil(3 * sigma));
  std::vector<double> weights(2 * radius + 1);
  double sum = 0;
  for (int k = -radius; k <= radius; ++k) {
    weights[k + radius] = std::exp(-(k * k) / (2 * sigma * sigma));
    sum += weights[k + radius];
  }
  for (double& weight : weights) {
    weight /= sum;
  }
  return weights;
}

// Separable blur; the picture's edge pixels repeat beyond it.
inline Plane Blurred(const Plane& plane, double sigma)
{
  const std::vector<double> weights = GaussianWeights(sigma);
  const int radius = int(weights.size() / 2);
  auto pass = [&](const Plane& in, bool horizontal) {
    Plane out(PixelCount, 0.0);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        double sum = 0;
        for (int k = -radius; k <= radius; ++k) {
          const int sx = horizontal ? std::clamp(x + k, 0, PictureWidth - 1) : x;
          const int sy = horizontal ? y : std::clamp(y + k, 0, PictureHeight - 1);
          sum += weights[k + radius] * in[PixelIndex(sx, sy)];
        }
        out[PixelIndex(x, y)] = sum;
      }
    }
    return out;
  };
  return pass(pass(plane, true), false);
}

// PSNR in dB of `picture` against `reference` after both are blurred with a
// Gaussian of the given sigma, over columns firstColumn..319 of every row.
inline double BlurredPsnr(const Picture& reference, const Picture& picture, int firstColumn,
                          double sigma = 1.0)
{
  const auto referencePlanes = ChannelPlanes(reference);
  const auto picturePlanes = ChannelPlanes(picture);
  double squares = 0;
  long samples = 0;
  for (int channel = 0; channel < 3; ++channel) {
    const Plane a = Blurred(referencePlanes[channel], sigma);
    const Plane b = Blurred(picturePlanes[channel], sigma);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = firstColumn; x < PictureWidth; ++x) {
        const double d = a[PixelIndex(x, y)] - b[PixelIndex(x, y)];
        squares += d * d;
        ++samples;
      }
    }
  }
  const double meanSquare = squares / double(samples);
  return meanSquare == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / meanSquare);
}

}  // namespace pavona::bench
