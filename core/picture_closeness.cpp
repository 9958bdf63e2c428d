#include "core/picture_closeness.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace pavona {
namespace {

// The normalised Gaussian weights at offsets -radius..radius, radius 3 sigma.
std::vector<float> GaussianWeights(double sigma)
{
  const int radius = int(std::ceil(3 * sigma));
  std::vector<double> weights(2 * radius + 1);
  double sum = 0;
  for (int k = -radius; k <= radius; ++k) {
    weights[k + radius] = std::exp(-(k * k) / (2 * sigma * sigma));
    sum += weights[k + radius];
  }
  std::vector<float> normalised;
  for (const double weight : weights) {
    normalised.push_back(float(weight / sum));
  }
  return normalised;
}

// One row blurred across; the row's edge pixels repeat beyond it.
void BlurRowAcross(const float* in, const std::vector<float>& weights, float* out)
{
  const int radius = int(weights.size() / 2);
  for (int x = 0; x < PictureWidth; ++x) {
    float sum = 0;
    if (x >= radius && x < PictureWidth - radius) {
      for (int k = 0; k <= 2 * radius; ++k) {
        sum += weights[k] * in[x - radius + k];
      }
    } else {
      for (int k = 0; k <= 2 * radius; ++k) {
        sum += weights[k] * in[std::clamp(x - radius + k, 0, PictureWidth - 1)];
      }
    }
    out[x] = sum;
  }
}

int Channel(std::uint32_t colour, int channel)
{
  return int(colour >> (16 - 8 * channel)) & 0xFF;
}

}  // namespace

// The blur is linear, so blurring the difference is blurring both; rows are
// blurred across first, then each row down from its neighbours, in whole rows
// so that the compiler can use vector instructions.
double BlurredPsnr(const Picture& photo, const Picture& picture, int firstColumn, double sigma)
{
  const std::vector<float> weights = GaussianWeights(sigma);
  const int radius = int(weights.size() / 2);
  std::vector<float> row(PictureWidth);
  std::vector<float> across(PixelCount);
  std::vector<float> down(PictureWidth);
  double squares = 0;
  for (int channel = 0; channel < 3; ++channel) {
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        row[x] = float(Channel(photo[PixelIndex(x, y)], channel) -
                       Channel(picture[PixelIndex(x, y)], channel));
      }
      BlurRowAcross(row.data(), weights, &across[PixelIndex(0, y)]);
    }
    for (int y = 0; y < PictureHeight; ++y) {
      std::fill(down.begin(), down.end(), 0.0f);
      for (int k = 0; k <= 2 * radius; ++k) {
        const float* source =
            &across[PixelIndex(0, std::clamp(y - radius + k, 0, PictureHeight - 1))];
        for (int x = 0; x < PictureWidth; ++x) {
          down[x] += weights[k] * source[x];
        }
      }
      for (int x = firstColumn; x < PictureWidth; ++x) {
        squares += double(down[x]) * down[x];
      }
    }
  }
  const long samples = 3L * PictureHeight * std::max(1, PictureWidth - firstColumn);
  const double meanSquare = squares / double(samples);
  return meanSquare < 1e-9 ? 99.0 : std::min(99.0, 10 * std::log10(255.0 * 255.0 / meanSquare));
}

}  // namespace pavona
