#include "core/blurred_error_polish.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <memory>
#include <vector>

#include "colour/parallel.h"

namespace pavona {
namespace {

constexpr int Radius = 3;  // three sigma
constexpr int Side = 2 * Radius + 1;
// Passes stop when no pixel changes; in practice after about ten.
constexpr int MostPasses = 4;

// Work goes by bands of eight pixel rows. A pixel's choice reads and changes
// the blurred error only within Radius rows of it, so bands two apart never
// touch the same error: the even bands run side by side, then the odd ones,
// and the outcome does not depend on the number of threads.
constexpr int BandRows = 8;
constexpr int Bands = PictureHeight / BandRows;
static_assert(BandRows > 2 * Radius && PictureHeight % BandRows == 0);

using Kernel = std::array<std::array<float, Side>, Side>;

Kernel EyeKernel()
{
  Kernel kernel;
  double sum = 0;
  for (int dy = -Radius; dy <= Radius; ++dy) {
    for (int dx = -Radius; dx <= Radius; ++dx) {
      sum += std::exp(-(dx * dx + dy * dy) / 2.0);
    }
  }
  for (int dy = -Radius; dy <= Radius; ++dy) {
    for (int dx = -Radius; dx <= Radius; ++dx) {
      kernel[dy + Radius][dx + Radius] = float(std::exp(-(dx * dx + dy * dy) / 2.0) / sum);
    }
  }
  return kernel;
}

float EnergyOf(const Kernel& kernel)
{
  float energy = 0;
  for (const auto& row : kernel) {
    for (float weight : row) {
      energy += weight * weight;
    }
  }
  return energy;
}

// Red, green, blue and a spare lane, so one pixel's channels go together and
// are added and multiplied as one vector (kept in a register, not in memory).
using Channels = float __attribute__((vector_size(16)));

Channels Difference(std::uint32_t to, std::uint32_t from)
{
  Channels d = {0, 0, 0, 0};
  d[0] = float(RedOf(to) - RedOf(from));
  d[1] = float(GreenOf(to) - GreenOf(from));
  d[2] = float(BlueOf(to) - BlueOf(from));
  return d;
}

// The pixels whose blurred error a change at (x, y) touches, within the
// counted columns.
struct Window {
  int x0, x1, y0, y1;
};

Window WindowAt(int x, int y, int firstColumn)
{
  return {std::max(firstColumn, x - Radius), std::min(PictureWidth - 1, x + Radius),
          std::max(0, y - Radius), std::min(PictureHeight - 1, y + Radius)};
}

// The index among the pixel's mixes of the colour it shows, -1 for none.
int ShownMix(const UnitMixes& units, const MixTable& table, int offset, std::uint32_t colour)
{
  for (int k = 0; k < units.count[offset]; ++k) {
    if (table.colour[units.mixes[offset][k].slot] == colour) {
      return k;
    }
  }
  return -1;
}

void SetBit(C64Data& data, C64Region region, int x, int y, bool on)
{
  if (region.size == 0) {
    return;
  }
  std::uint8_t& byte = data[region.offset + BitmapOffset(x / 8, y / 8, y % 8)];
  const std::uint8_t bit = std::uint8_t(0x80 >> (x % 8));
  byte = on ? std::uint8_t(byte | bit) : std::uint8_t(byte & ~bit);
}

class Polish {
 public:
  Polish(Picture& result, C64Data& data, const UnitMixes& units, const MixTable& table,
         int firstColumn)
      : result_(result), data_(data), units_(units), table_(table), firstColumn_(firstColumn)
  {
  }

  // The blurred difference result - adjusted, the Gaussian applied along the
  // rows and then the columns; nothing lies beyond the frame.
  void MeasureError(const Picture& adjusted)
  {
    error_.resize(PixelCount);
    for (int offset = 0; offset < PixelCount; ++offset) {
      error_[offset] = Difference(result_[offset], adjusted[offset]);
    }
    std::vector<Channels> rows(PixelCount);
    const auto& weights = kernel_[Radius];
    const float root = std::sqrt(weights[Radius]);
    auto blurAlong = [&](const std::vector<Channels>& in, std::vector<Channels>& out, int step,
                         auto position, int length) {
      for (int offset = 0; offset < PixelCount; ++offset) {
        const int at = position(offset);
        Channels sum{};
        for (int k = std::max(-Radius, -at); k <= std::min(Radius, length - 1 - at); ++k) {
          // The kernel's middle row is the 1-D Gaussian times the middle weight.
          sum += in[offset + k * step] * (weights[k + Radius] / root);
        }
        out[offset] = sum;
      }
    };
    blurAlong(
        error_, rows, 1, [](int offset) { return offset % PictureWidth; }, PictureWidth);
    blurAlong(
        rows, error_, PictureWidth, [](int offset) { return offset / PictureWidth; },
        PictureHeight);
  }

  // One pass over the pixels marked by the last (all pixels at first);
  // returns how many pixels changed.
  int Pass(bool everyPixel)
  {
    for (int offset = 0; offset < PixelCount; ++offset) {
      visit_[offset] = everyPixel || next_[offset].exchange(0, std::memory_order_relaxed) != 0;
    }
    std::atomic<int> changed{0};
    for (int parity = 0; parity < 2; ++parity) {
      ParallelFor((Bands + 1 - parity) / 2, [&](int i) { changed += PassBand(2 * i + parity); });
    }
    return changed;
  }

 private:
  void AddBlurred(const Window& w, int x, int y, Channels amount)
  {
    for (int qy = w.y0; qy <= w.y1; ++qy) {
      const auto& weights = kernel_[qy - y + Radius];
      for (int qx = w.x0; qx <= w.x1; ++qx) {
        error_[PixelIndex(qx, qy)] += amount * weights[qx - x + Radius];
      }
    }
  }

  int PassBand(int band)
  {
    int changed = 0;
    for (int y = band * BandRows; y < (band + 1) * BandRows; ++y) {
      for (int x = firstColumn_; x < PictureWidth; ++x) {
        if (visit_[PixelIndex(x, y)] && ImprovePixel(x, y)) {
          ++changed;
          MarkAround(x, y);
        }
      }
    }
    return changed;
  }

  // The pixels whose choice a change at (x, y) may alter lie within two
  // radii of it.
  void MarkAround(int x, int y)
  {
    const int reach = 2 * Radius;
    const int x0 = std::max(firstColumn_, x - reach), x1 = std::min(PictureWidth - 1, x + reach);
    const int y0 = std::max(0, y - reach), y1 = std::min(PictureHeight - 1, y + reach);
    for (int qy = y0; qy <= y1; ++qy) {
      for (int qx = x0; qx <= x1; ++qx) {
        next_[PixelIndex(qx, qy)].store(1, std::memory_order_relaxed);
      }
    }
  }

  // Gives the pixel the mix that lowers the blurred error most, if any does.
  bool ImprovePixel(int x, int y)
  {
    const int offset = PixelIndex(x, y);
    if (units_.count[offset] < 2) {
      return false;
    }
    const std::uint32_t shown = result_[offset];
    if (ShownMix(units_, table_, offset, shown) < 0) {
      return false;
    }
    const Window w = WindowAt(x, y, firstColumn_);
    Channels correlation{};
    float energy = interiorEnergy_;
    if (w.x1 - w.x0 == 2 * Radius && w.y1 - w.y0 == 2 * Radius) {
      // The whole kernel lies in the counted part: fixed bounds, unrolled.
      const Channels* row = &error_[PixelIndex(x - Radius, y - Radius)];
      for (int dy = 0; dy < Side; ++dy, row += PictureWidth) {
        for (int dx = 0; dx < Side; ++dx) {
          correlation += row[dx] * kernel_[dy][dx];
        }
      }
    } else {
      energy = 0;
      for (int qy = w.y0; qy <= w.y1; ++qy) {
        const auto& weights = kernel_[qy - y + Radius];
        for (int qx = w.x0; qx <= w.x1; ++qx) {
          const float weight = weights[qx - x + Radius];
          correlation += error_[PixelIndex(qx, qy)] * weight;
          energy += weight * weight;
        }
      }
    }
    // Changing the pixel by d changes the sum of squared errors by
    // 2 d . correlation + |d|^2 energy.
    int best = -1;
    float bestChange = -1e-3f;
    for (int k = 0; k < units_.count[offset]; ++k) {
      const std::uint32_t colour = table_.colour[units_.mixes[offset][k].slot];
      if (colour == shown) {
        continue;
      }
      const Channels d = Difference(colour, shown);
      const float change =
          2 * (d[0] * correlation[0] + d[1] * correlation[1] + d[2] * correlation[2]) +
          (d[0] * d[0] + d[1] * d[1] + d[2] * d[2]) * energy;
      if (change < bestChange) {
        best = k;
        bestChange = change;
      }
    }
    if (best < 0) {
      return false;
    }
    const UnitMix& mix = units_.mixes[offset][best];
    const std::uint32_t colour = table_.colour[mix.slot];
    AddBlurred(w, x, y, Difference(colour, shown));
    result_[offset] = colour;
    SetBit(data_, units_.bitmap1, x, y, mix.field1Bit);
    SetBit(data_, units_.bitmap2, x, y, mix.field2Bit);
    return true;
  }

  Picture& result_;
  C64Data& data_;
  const UnitMixes& units_;
  const MixTable& table_;
  const int firstColumn_;
  const Kernel kernel_ = EyeKernel();
  const float interiorEnergy_ = EnergyOf(kernel_);
  std::vector<Channels> error_;
  // The pixels to look at in this pass, and those marked for the next: bands
  // of the same parity may mark the same pixels of the band between them.
  std::vector<bool> visit_ = std::vector<bool>(PixelCount, false);
  std::vector<std::atomic<std::uint8_t>> next_ = std::vector<std::atomic<std::uint8_t>>(PixelCount);
};

}  // namespace

int PolishByBlurredError(Picture& result, C64Data& data, const UnitMixes& units,
                         const MixTable& table, const Picture& adjusted, int firstColumn)
{
  if (!units.resultShowsTableColours) {
    return 0;
  }
  auto polish = std::make_unique<Polish>(result, data, units, table, firstColumn);
  polish->MeasureError(adjusted);
  int changed = 0;
  for (int pass = 0; pass < MostPasses; ++pass) {
    const int changedInPass = polish->Pass(pass == 0);
    changed += changedInPass;
    if (changedInPass == 0) {
      break;
    }
  }
  return changed;
}

}  // namespace pavona
