#pragma once

// SSIM on luma (Rec. 601 weights), with the usual 11 x 11 Gaussian window of
// sigma 1.5 and the constants of Wang et al. (K1 0.01, K2 0.03, L 255), the
// mean over columns firstColumn..319 of every row: structure as the eye sees
// it, beside the blurred PSNR's colour.

#include <algorithm>
#include <cmath>
#include <vector>

#include "colour/picture.h"

namespace pavona::bench {

inline std::vector<double> LumaPlane(const Picture& picture)
{
  std::vector<double> luma(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = 0.299 * RedOf(picture[i]) + 0.587 * GreenOf(picture[i]) + 0.114 * BlueOf(picture[i]);
  }
  return luma;
}

// A separable Gaussian of sigma 1.5, radius 5; the picture's edges repeat.
inline std::vector<double> GaussianWindowMean(const std::vector<double>& plane)
{
  constexpr int Radius = 5;
  double weights[2 * Radius + 1];
  double sum = 0;
  for (int k = -Radius; k <= Radius; ++k) {
    weights[k + Radius] = std::exp(-(k * k) / (2 * 1.5 * 1.5));
    sum += weights[k + Radius];
  }
  for (double& weight : weights) {
    weight /= sum;
  }
  auto pass = [&](const std::vector<double>& in, bool across) {
    std::vector<double> out(PixelCount);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        double total = 0;
        for (int k = -Radius; k <= Radius; ++k) {
          const int sx = across ? std::clamp(x + k, 0, PictureWidth - 1) : x;
          const int sy = across ? y : std::clamp(y + k, 0, PictureHeight - 1);
          total += weights[k + Radius] * in[PixelIndex(sx, sy)];
        }
        out[PixelIndex(x, y)] = total;
      }
    }
    return out;
  };
  return pass(pass(plane, true), false);
}

inline double LumaSsim(const Picture& reference, const Picture& picture, int firstColumn)
{
  const std::vector<double> a = LumaPlane(reference), b = LumaPlane(picture);
  std::vector<double> aa(PixelCount), bb(PixelCount), ab(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    aa[i] = a[i] * a[i];
    bb[i] = b[i] * b[i];
    ab[i] = a[i] * b[i];
  }
  const auto muA = GaussianWindowMean(a), muB = GaussianWindowMean(b);
  const auto eAA = GaussianWindowMean(aa), eBB = GaussianWindowMean(bb),
             eAB = GaussianWindowMean(ab);
  constexpr double C1 = (0.01 * 255) * (0.01 * 255), C2 = (0.03 * 255) * (0.03 * 255);
  double total = 0;
  int count = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = firstColumn; x < PictureWidth; ++x) {
      const int i = PixelIndex(x, y);
      const double varA = eAA[i] - muA[i] * muA[i], varB = eBB[i] - muB[i] * muB[i];
      const double cov = eAB[i] - muA[i] * muB[i];
      total += ((2 * muA[i] * muB[i] + C1) * (2 * cov + C2)) /
               ((muA[i] * muA[i] + muB[i] * muB[i] + C1) * (varA + varB + C2));
      ++count;
    }
  }
  return total / count;
}

}  // namespace pavona::bench
