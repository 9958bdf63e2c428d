#include "select/multicolour_cells.h"

#include <algorithm>
#include <limits>

#include "colour/cpu_clones.h"
#include "colour/yuv.h"
#include "select/cell_distance.h"

namespace pavona {

PaletteDistances MeasurePaletteDistances(const MixTable& table, Measure measure)
{
  PaletteDistances distances{};
  for (int pixel = 0; pixel < 16; ++pixel) {
    const Yuv pixelYuv = ColourToYuv(table.colour[pixel]);
    for (int shown = 0; shown < 16; ++shown) {
      distances[pixel][shown] = CellDistance(measure, table.colour[pixel], pixelYuv,
                                             table.colour[shown], ColourToYuv(table.colour[shown]));
    }
  }
  return distances;
}

int NearestSource(const std::array<std::uint8_t, 4>& sources, const ColourErrors& errors)
{
  int bits = 0;
  for (int candidate = 1; candidate < 4; ++candidate) {
    if (errors[sources[candidate]] < errors[sources[bits]]) {
      bits = candidate;
    }
  }
  return bits;
}

// The pixels of one search: a multicolour cell at most, a span of a cell row
// at least.
constexpr std::size_t CellPixelsAtMost = 8 * McCellWidth;
constexpr std::size_t SpanPixels = McCellWidth;

// Whole-number sums and minima: both clones give the same pair.
PAVONA_AVX2_CLONES McPair LeastErrorPair(std::span<const ColourErrors* const> pixels,
                                         std::span<const std::uint32_t> base)
{
  McPair best{0, 0, std::numeric_limits<std::uint32_t>::max()};
  // A pixel is served no better than by the nearest of its base, `high` and
  // any colour above it: when that sum for a high colour does not beat the
  // best, no pair starting there can (only a strictly smaller error wins).
  // Worth its cost for a whole cell, not for the four pixels of a span. The
  // sums of all high colours come from one pass down each pixel's colours.
  const bool bounded = pixels.size() > SpanPixels && pixels.size() <= CellPixelsAtMost;
  std::array<std::uint64_t, 16> bound{};
  for (std::size_t k = 0; bounded && k < pixels.size(); ++k) {
    std::uint32_t nearest = base[k];
    for (int colour = 15; colour >= 0; --colour) {
      nearest = std::min(nearest, (*pixels[k])[colour]);
      bound[colour] += nearest;
    }
  }
  for (int high = 0; high < 15; ++high) {
    if (bounded && bound[high] >= best.error) {
      continue;
    }
    // The error of every pair (high, low) at once, for all 16 low colours:
    // a loop of fixed length that the compiler turns into vector code.
    ColourErrors total{};
    for (std::size_t k = 0; k < pixels.size(); ++k) {
      const ColourErrors& errors = *pixels[k];
      const std::uint32_t kept = std::min(base[k], errors[high]);
      for (int low = 0; low < 16; ++low) {
        total[low] += std::min(kept, errors[low]);
      }
    }
    for (int low = high + 1; low < 16; ++low) {
      if (total[low] < best.error) {
        best = {std::uint8_t(high), std::uint8_t(low), total[low]};
      }
    }
    if (best.error == 0) {
      return best;  // no later pair can do better than none
    }
  }
  return best;
}

std::vector<std::uint8_t> McPaletteNumbers(const Picture& dithered, const MixTable& table,
                                           ProgressReport& progress)
{
  std::vector<std::uint8_t> numbers(std::size_t(McWidth) * PictureHeight);
  std::uint32_t lastColour = table.colour[0];
  int lastNumber = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < McWidth; ++x) {
      const std::uint32_t colour = dithered[PixelIndex(2 * x, y)];
      if (colour != lastColour) {
        lastColour = colour;
        lastNumber = FindMixIndex(table, colour, 16);
        if (lastNumber < 0) {
          progress.ReportStrayColour(colour);
          lastNumber = NearestListedSlot(
              colour, table, Measure::RgbDistance,
              std::array<std::uint8_t, 16>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15});
        }
      }
      numbers[std::size_t(y) * McWidth + x] = std::uint8_t(lastNumber);
    }
  }
  return numbers;
}

void SetMcPixel(C64Data& data, C64Region bitmap, int cx, int cy, int row, int pixel, int bits)
{
  std::uint8_t& byte = data[std::size_t(bitmap.offset + BitmapOffset(cx, cy, row))];
  const int shift = 6 - 2 * pixel;
  byte = std::uint8_t((byte & ~(3 << shift)) | (bits << shift));
}

void ShowMcPixel(Picture& result, int mcX, int y, std::uint32_t colour)
{
  result[PixelIndex(2 * mcX, y)] = colour;
  result[PixelIndex(2 * mcX + 1, y)] = colour;
}

}  // namespace pavona
