#include "core/picture_closeness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pavona {
namespace {

// The normalised Gaussian weights at offsets -radius..radius, radius 3 sigma.
std::vector<double> GaussianWeights(double sigma)
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

// One separable pass; the picture's edge pixels repeat beyond it.
std::vector<double> BlurPass(const std::vector<double>& in, const std::vector<double>& weights,
                             bool across)
{
  const int radius = int(weights.size() / 2);
  std::vector<double> out(PixelCount, 0.0);
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      double sum = 0;
      for (int k = -radius; k <= radius; ++k) {
        const int sx = across ? std::clamp(x + k, 0, PictureWidth - 1) : x;
        const int sy = across ? y : std::clamp(y + k, 0, PictureHeight - 1);
        sum += weights[k + radius] * in[PixelIndex(sx, sy)];
      }
      out[PixelIndex(x, y)] = sum;
    }
  }
  return out;
}

int Channel(std::uint32_t colour, int channel)
{
  return int(colour >> (16 - 8 * channel)) & 0xFF;
}

}  // namespace

double BlurredPsnr(const Picture& photo, const Picture& picture, int firstColumn, double sigma)
{
  const std::vector<double> weights = GaussianWeights(sigma);
  double squares = 0;
  long samples = 0;
  // The blur is linear, so blurring the difference is blurring both.
  std::vector<double> difference(PixelCount);
  for (int channel = 0; channel < 3; ++channel) {
    for (int i = 0; i < PixelCount; ++i) {
      difference[i] = Channel(photo[i], channel) - Channel(picture[i], channel);
    }
    const std::vector<double> blurred =
        BlurPass(BlurPass(difference, weights, true), weights, false);
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = firstColumn; x < PictureWidth; ++x) {
        squares += blurred[PixelIndex(x, y)] * blurred[PixelIndex(x, y)];
        ++samples;
      }
    }
  }
  const double meanSquare = squares / double(std::max(1L, samples));
  return meanSquare < 1e-12 ? 99.0 : std::min(99.0, 10 * std::log10(255.0 * 255.0 / meanSquare));
}

}  // namespace pavona
