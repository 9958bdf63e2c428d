#include "refine/structure_guard.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace pavona {
namespace {

constexpr int BlurRadius = 3;    // sigma 1
constexpr int WindowRadius = 5;  // sigma 1.5
constexpr float C1 = (0.01f * 255) * (0.01f * 255), C2 = (0.03f * 255) * (0.03f * 255);

template <int Radius>
std::array<float, 2 * Radius + 1> Gaussian(double sigma)
{
  std::array<float, 2 * Radius + 1> weights;
  double sum = 0;
  for (int k = -Radius; k <= Radius; ++k) {
    sum += std::exp(-(k * k) / (2 * sigma * sigma));
  }
  for (int k = -Radius; k <= Radius; ++k) {
    weights[k + Radius] = float(std::exp(-(k * k) / (2 * sigma * sigma)) / sum);
  }
  return weights;
}

// row[x] += weight * source[x] along a row. The two never overlap, which
// lets the compiler use vector instructions (a blur took four times as long).
void AddScaledRow(float* __restrict row, const float* __restrict source, float weight)
{
  for (int x = 0; x < PictureWidth; ++x) {
    row[x] += weight * source[x];
  }
}

// The plane blurred into `out` (`line` a buffer): across each row, then down
// by whole rows, so the compiler can use vector instructions; the edges repeat.
template <std::size_t Size>
void BlurPlane(const std::vector<float>& plane, const std::array<float, Size>& weights,
               std::vector<float>& line, std::vector<float>& out)
{
  constexpr int r = int(Size / 2);
  out.resize(PixelCount);
  line.resize(PictureWidth + 2 * r);
  std::vector<float>& across = out;
  // Across, in place in `out` row by row.
  for (int y = 0; y < PictureHeight; ++y) {
    const float* in = &plane[PixelIndex(0, y)];
    std::copy(in, in + PictureWidth, line.begin() + r);
    std::fill(line.begin(), line.begin() + r, in[0]);
    std::fill(line.end() - r, line.end(), in[PictureWidth - 1]);
    float* row = &across[PixelIndex(0, y)];
    std::fill_n(row, PictureWidth, 0.0f);
    for (int k = 0; k < int(Size); ++k) {
      AddScaledRow(row, &line[k], weights[k]);
    }
  }
  // Down: each output row from the rows around it, kept in a ring of copies.
  std::vector<float> rows((Size)*PictureWidth);
  for (int k = 0; k < int(Size); ++k) {
    const int y = std::clamp(k - r, 0, PictureHeight - 1);
    std::copy_n(&across[PixelIndex(0, y)], PictureWidth, &rows[k * PictureWidth]);
  }
  for (int y = 0; y < PictureHeight; ++y) {
    float* row = &out[PixelIndex(0, y)];
    std::fill_n(row, PictureWidth, 0.0f);
    for (int k = 0; k < int(Size); ++k) {
      AddScaledRow(row, &rows[((y + k) % Size) * PictureWidth], weights[k]);
    }
    // The ring slot of row y - r is free now: it takes row y + r + 1.
    const int next = std::clamp(y + r + 1, 0, PictureHeight - 1);
    if (y + 1 < PictureHeight) {
      std::copy_n(&across[PixelIndex(0, next)], PictureWidth, &rows[(y % Size) * PictureWidth]);
    }
  }
}

}  // namespace

void StructureMeasure::SetTarget(const Picture& target)
{
  static const auto blur = Gaussian<BlurRadius>(1.0);
  static const auto window = Gaussian<WindowRadius>(1.5);
  std::vector<float>& luma = planes_.luma;
  luma.resize(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = Luma(target[i]);
  }
  BlurPlane(luma, blur, planes_.line, targetBlurred_);
  BlurPlane(targetBlurred_, window, planes_.line, targetMean_);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = targetBlurred_[i] * targetBlurred_[i];
  }
  BlurPlane(luma, window, planes_.line, targetVariance_);
  for (int i = 0; i < PixelCount; ++i) {
    targetVariance_[i] -= targetMean_[i] * targetMean_[i];
  }
}

void StructureMeasure::SsimMap(const Picture& shown, SsimPlanes& planes,
                               std::vector<float>& ssim) const
{
  static const auto blur = Gaussian<BlurRadius>(1.0);
  static const auto window = Gaussian<WindowRadius>(1.5);
  std::vector<float>& luma = planes.luma;
  luma.resize(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = Luma(shown[i]);
  }
  BlurPlane(luma, blur, planes.line, planes.blurred);
  const std::vector<float>& blurred = planes.blurred;
  BlurPlane(blurred, window, planes.line, planes.mean);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = blurred[i] * blurred[i];
  }
  BlurPlane(luma, window, planes.line, planes.squares);
  for (int i = 0; i < PixelCount; ++i) {
    luma[i] = blurred[i] * targetBlurred_[i];
  }
  BlurPlane(luma, window, planes.line, planes.cross);
  ssim.resize(PixelCount);
  for (int i = 0; i < PixelCount; ++i) {
    const float m = planes.mean[i], mt = targetMean_[i];
    const float variance = planes.squares[i] - m * m, covariance = planes.cross[i] - m * mt;
    ssim[i] = ((2 * m * mt + C1) * (2 * covariance + C2)) /
              ((m * m + mt * mt + C1) * (variance + targetVariance_[i] + C2));
  }
}

void MeasureSelectionStructure(const Picture& target, StructureScratch& scratch)
{
  scratch.measure.SetTarget(target);
  scratch.measure.SsimMap(scratch.selectedResult, scratch.planes[0], scratch.ssim[0]);
}

namespace {

// What the selection had, back in the unit at (x0, y0): its pixels, its
// bitmap bytes and its screen bytes.
void PutBackUnit(Picture& result, C64Data& data, const UnitMixes& units, int height,
                 const StructureScratch& scratch, int x0, int y0)
{
  for (int y = y0; y < y0 + height; ++y) {
    std::copy_n(&scratch.selectedResult[PixelIndex(x0, y)], 8, &result[PixelIndex(x0, y)]);
    for (const C64Region bitmap : {units.bitmap1, units.bitmap2}) {
      if (bitmap.size != 0) {
        const int at = bitmap.offset + BitmapOffset(x0 / 8, y / 8, y % 8);
        data[at] = scratch.selectedData[at];
      }
    }
  }
  const UnitColourPlaces& places = units.places;
  if (places.chooseable) {
    for (int field = 1; field <= (places.interlaced ? 2 : 1); ++field) {
      const int at = places.ScreenByteAt(field, x0, y0);
      data[at] = scratch.selectedData[at];
    }
  }
}

}  // namespace

int KeepStructure(Picture& result, C64Data& data, const UnitMixes& units, StructureScratch& scratch)
{
  const UnitColourPlaces& places = units.places;
  const int height = places.chooseable && !places.fli ? 8 : 1;
  const std::vector<float>& before = scratch.ssim[0];
  const std::vector<float>& after = scratch.ssim[1];
  std::vector<UnitLoss>& losses = scratch.losses;
  scratch.putBack.assign(PixelCount / (8 * height), false);
  const double frameBudget = double(MostSsimLossPerFrame) * PixelCount;
  int restored = 0;
  for (int round = 0; round < MostGuardRounds; ++round) {
    scratch.measure.SsimMap(result, scratch.planes[1], scratch.ssim[1]);
    losses.clear();
    double total = 0;
    for (int y0 = 0; y0 < PictureHeight; y0 += height) {
      for (int x0 = 0; x0 < PictureWidth; x0 += 8) {
        float lost = 0;
        for (int y = y0; y < y0 + height; ++y) {
          for (int x = x0; x < x0 + 8; ++x) {
            lost += before[PixelIndex(x, y)] - after[PixelIndex(x, y)];
          }
        }
        total += lost;
        // Most units lost nothing; only those that did are sorted.
        if (lost > 0) {
          losses.push_back({lost, x0, y0});
        }
      }
    }
    // The worst first, taken from a heap as they are needed (sorting them
    // all cost as much as an SSIM map); ties in the order of the frame, so
    // the order is one and the same on every run.
    const auto less = [](const UnitLoss& a, const UnitLoss& b) {
      return a.lost != b.lost ? a.lost < b.lost : (a.y0 != b.y0 ? a.y0 > b.y0 : a.x0 > b.x0);
    };
    std::make_heap(losses.begin(), losses.end(), less);
    int now = 0;
    for (auto end = losses.end(); end != losses.begin(); --end) {
      std::pop_heap(losses.begin(), end, less);
      const UnitLoss& unit = end[-1];
      if (unit.lost <= MostSsimLossPerUnit * float(8 * height) && total <= frameBudget) {
        break;
      }
      // A unit put back shows the selection; what it still loses comes
      // from its neighbours.
      const int index = unit.y0 / height * (PictureWidth / 8) + unit.x0 / 8;
      if (scratch.putBack[index]) {
        continue;
      }
      scratch.putBack[index] = true;
      total -= unit.lost;
      PutBackUnit(result, data, units, height, scratch, unit.x0, unit.y0);
      ++now;
    }
    restored += now;
    if (now == 0) {
      break;
    }
  }
  return restored;
}

}  // namespace pavona
