#include "refine/blurred_error_field.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pavona {
namespace {

using Weights = std::array<float, 2 * BlurredErrorField::Radius + 1>;
constexpr int Radius = BlurredErrorField::Radius;
constexpr int Reach = BlurredErrorField::Reach;

// The Gaussian along the rows, then along the columns, in place; nothing
// lies beyond the frame.
void Blur(Channels* plane, const Weights& weights)
{
  std::array<Channels, PictureWidth + 2 * Radius> line{};
  for (int y = 0; y < PictureHeight; ++y) {
    Channels* row = &plane[PixelIndex(0, y)];
    std::copy(row, row + PictureWidth, line.begin() + Radius);
    for (int x = 0; x < PictureWidth; ++x) {
      Channels sum{};
      for (int k = 0; k < 2 * Radius + 1; ++k) {
        sum += line[x + k] * weights[k];
      }
      row[x] = sum;
    }
  }
  std::array<Channels, PictureHeight + 2 * Radius> column{};
  for (int x = 0; x < PictureWidth; ++x) {
    for (int y = 0; y < PictureHeight; ++y) {
      column[y + Radius] = plane[PixelIndex(x, y)];
    }
    for (int y = 0; y < PictureHeight; ++y) {
      Channels sum{};
      for (int k = 0; k < 2 * Radius + 1; ++k) {
        sum += column[y + k] * weights[k];
      }
      plane[PixelIndex(x, y)] = sum;
    }
  }
}

// Per position 0..length-1, the overlap of the 1-D kernel there with the one
// d = -Reach..Reach further on, summed over the counted positions first..last.
template <std::size_t Length>
void OneDimensionalOverlaps(std::array<std::array<float, 2 * Reach + 1>, Length>& overlaps,
                            const Weights& weights, int first, int last)
{
  for (int p = 0; p < int(Length); ++p) {
    for (int d = -Reach; d <= Reach; ++d) {
      float sum = 0;
      const int from = std::max({first, p - Radius, p + d - Radius});
      const int to = std::min({last, p + Radius, p + d + Radius});
      for (int r = from; r <= to; ++r) {
        sum += weights[r - p + Radius] * weights[r - p - d + Radius];
      }
      overlaps[p][d + Reach] = sum;
    }
  }
}

}  // namespace

std::array<float, 2 * BlurredErrorField::Radius + 1> BlurredErrorField::Weights()
{
  ::pavona::Weights weights;
  double sum = 0;
  for (int k = -Radius; k <= Radius; ++k) {
    sum += std::exp(-(k * k) / 2.0);
  }
  for (int k = -Radius; k <= Radius; ++k) {
    weights[k + Radius] = float(std::exp(-(k * k) / 2.0) / sum);
  }
  return weights;
}

BlurredErrorField::BlurredErrorField(const Picture& shown, const Picture& target, int firstColumn,
                                     std::vector<Channels>& buffer)
    : gradient_(buffer)
{
  gradient_.resize(PixelCount);
  const ::pavona::Weights weights = Weights();
  OneDimensionalOverlaps(overlapX_, weights, firstColumn, PictureWidth - 1);
  OneDimensionalOverlaps(overlapY_, weights, 0, PictureHeight - 1);
  for (int offset = 0; offset < PixelCount; ++offset) {
    gradient_[offset] = ColourDifference(shown[offset], target[offset]);
  }
  Blur(gradient_.data(), weights);
  // Only the counted columns' blurred error counts; the kernel around each
  // pixel then gathers it.
  for (int y = 0; y < PictureHeight; ++y) {
    std::fill_n(&gradient_[PixelIndex(0, y)], firstColumn, Channels{});
  }
  Blur(gradient_.data(), weights);
}

void BlurredErrorField::Change(int x, int y, Channels delta)
{
  const int y0 = std::max(0, y - Reach), y1 = std::min(PictureHeight - 1, y + Reach);
  const int x0 = std::max(0, x - Reach), x1 = std::min(PictureWidth - 1, x + Reach);
  // overlap(p, q) = overlap(q, p), so the weights are read around (x, y).
  const auto& alongX = overlapX_[x];
  for (int qy = y0; qy <= y1; ++qy) {
    const Channels scaled = delta * overlapY_[y][qy - y + Reach];
    Channels* line = &gradient_[PixelIndex(0, qy)];
    for (int qx = x0; qx <= x1; ++qx) {
      line[qx] += scaled * alongX[qx - x + Reach];
    }
  }
}

void BlurredErrorField::ChangeRun(int x0, int y, const Channels* deltas, int count)
{
  // Along the row first: what the run adds to each column, before the
  // weights of the rows.
  const int from = std::max(0, x0 - Reach), to = std::min(PictureWidth - 1, x0 + count - 1 + Reach);
  std::array<Channels, RunLength + 2 * Reach> alongRow{};
  for (int i = 0; i < count; ++i) {
    const int x = x0 + i;
    const auto& alongX = overlapX_[x];
    for (int qx = std::max(from, x - Reach); qx <= std::min(to, x + Reach); ++qx) {
      alongRow[qx - from] += deltas[i] * alongX[qx - x + Reach];
    }
  }
  const int y0 = std::max(0, y - Reach), y1 = std::min(PictureHeight - 1, y + Reach);
  for (int qy = y0; qy <= y1; ++qy) {
    const float weight = overlapY_[y][qy - y + Reach];
    Channels* line = &gradient_[PixelIndex(0, qy)];
    for (int qx = from; qx <= to; ++qx) {
      line[qx] += alongRow[qx - from] * weight;
    }
  }
}

}  // namespace pavona
