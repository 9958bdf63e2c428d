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

// The 8-bit sRGB values in linear light.
const std::array<float, 256>& LinearLight()
{
  static const std::array<float, 256> table = [] {
    std::array<float, 256> linear;
    for (int v = 0; v < 256; ++v) {
      const double x = v / 255.0;
      linear[v] = float(x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4));
    }
    return linear;
  }();
  return table;
}

// CIELAB's f(t) for t in 0..1, read between the points of a table: a cube
// root per channel of every pixel of the frame took longer than the rest of
// setting up the field, and the table is within 0.05 a* or b* units of it.
constexpr int LabSteps = 1024;
float LabF(float t)
{
  static const std::array<float, LabSteps + 2> table = [] {
    std::array<float, LabSteps + 2> f;
    for (int i = 0; i <= LabSteps + 1; ++i) {
      const double u = double(i) / LabSteps;
      f[i] = float(u > 216.0 / 24389 ? std::cbrt(u) : (24389.0 / 27 * u + 16) / 116);
    }
    return f;
  }();
  const float position = std::clamp(t, 0.0f, 1.0f) * LabSteps;
  const int i = int(position);
  return table[i] + (position - float(i)) * (table[i + 1] - table[i]);
}

}  // namespace

Channels PerceivedColour(std::uint32_t colour)
{
  static const float lumaScale = std::sqrt(LumaWeight);
  // a* and b* of the C64 palette's colours lie within about +-100.
  constexpr float ChromaScale = 2.55f;
  const std::array<float, 256>& linear = LinearLight();
  const float r = linear[RedOf(colour)], g = linear[GreenOf(colour)], b = linear[BlueOf(colour)];
  // sRGB primaries, D65 white.
  const float fx = LabF((0.4124564f * r + 0.3575761f * g + 0.1804375f * b) / 0.95047f);
  const float fy = LabF(0.2126729f * r + 0.7151522f * g + 0.0721750f * b);
  const float fz = LabF((0.0193339f * r + 0.1191920f * g + 0.9503041f * b) / 1.08883f);
  const float luma = 0.299f * float(RedOf(colour)) + 0.587f * float(GreenOf(colour)) +
                     0.114f * float(BlueOf(colour));
  return Channels{lumaScale * luma, ChromaScale * 500 * (fx - fy), ChromaScale * 200 * (fy - fz),
                  0};
}

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
  // The shown picture has few colours, mostly in runs.
  std::uint32_t lastShown = shown[0];
  Channels lastPerceived = PerceivedColour(lastShown);
  for (int offset = 0; offset < PixelCount; ++offset) {
    if (shown[offset] != lastShown) {
      lastShown = shown[offset];
      lastPerceived = PerceivedColour(lastShown);
    }
    gradient_[offset] = lastPerceived - PerceivedColour(target[offset]);
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
