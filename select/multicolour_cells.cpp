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

namespace {
// Whether (high, low) wins over the best so far: a smaller error, or an equal
// one of a pair that comes first in the order (0, 1), (0, 2), ..., (14, 15).
bool Beats(int high, int low, std::uint32_t error, const McPair& best)
{
  return error < best.error ||
         (error == best.error && (high < best.high || (high == best.high && low < best.low)));
}

// The error of every pair (high, low) at once, for the low colours from
// `firstLow` on (0 or 8): loops of fixed length that the compiler turns into
// vector code.
template <int FirstLow>
[[gnu::always_inline]] inline void AddPairErrors(std::span<const ColourErrors* const> pixels,
                                                 std::span<const std::uint32_t> base, int high,
                                                 ColourErrors& total)
{
  for (std::size_t k = 0; k < pixels.size(); ++k) {
    const ColourErrors& errors = *pixels[k];
    const std::uint32_t kept = std::min(base[k], errors[high]);
    for (int low = FirstLow; low < 16; ++low) {
      total[low] += std::min(kept, errors[low]);
    }
  }
}

// Updates `best` with the pairs (high, low > high) of one high colour.
[[gnu::always_inline]] inline void TryHigh(std::span<const ColourErrors* const> pixels,
                                           std::span<const std::uint32_t> base, int high,
                                           McPair& best)
{
  ColourErrors total{};
  if (high < 8) {
    AddPairErrors<0>(pixels, base, high, total);
  } else {
    AddPairErrors<8>(pixels, base, high, total);
  }
  for (int low = high + 1; low < 16; ++low) {
    if (Beats(high, low, total[low], best)) {
      best = {std::uint8_t(high), std::uint8_t(low), total[low]};
    }
  }
}

// The search of a span: four pixels are too few for bounds to pay.
[[gnu::always_inline]] inline McPair LeastErrorPairOfFew(
    std::span<const ColourErrors* const> pixels, std::span<const std::uint32_t> base)
{
  McPair best{0, 0, std::numeric_limits<std::uint32_t>::max()};
  for (int high = 0; high < 15 && best.error != 0; ++high) {
    TryHigh(pixels, base, high, best);
  }
  return best;
}

// The total error of the cell with each colour as its only screen colour,
// and with none (what the base alone leaves). Sums of at most 32 pixels'
// errors, which fit in 32 bits as the totals of pairs do.
struct SingleColourErrors {
  ColourErrors single{};
  std::uint32_t none = 0;
};

[[gnu::always_inline]] inline SingleColourErrors SingleColourErrorsOf(
    std::span<const ColourErrors* const> pixels, std::span<const std::uint32_t> base)
{
  SingleColourErrors totals;
  for (std::size_t k = 0; k < pixels.size(); ++k) {
    const ColourErrors& errors = *pixels[k];
    for (int colour = 0; colour < 16; ++colour) {
      totals.single[colour] += std::min(base[k], errors[colour]);
    }
    totals.none += base[k];
  }
  return totals;
}

// The search of a cell. No pair (high, low) does better than each colour
// alone saves: a pixel's error with two colours is at least its errors with
// each alone less its error with neither, min(b, x, y) >= min(b, x) +
// min(b, y) - b. So a high colour whose single error, with the least single
// error of the colours above it, leaves no room to beat the best pair so far
// is passed over. The colour that alone serves the cell best is tried first,
// for its pairs set a low best error early.
[[gnu::always_inline]] inline McPair LeastErrorPairOfCell(
    std::span<const ColourErrors* const> pixels, std::span<const std::uint32_t> base)
{
  const SingleColourErrors totals = SingleColourErrorsOf(pixels, base);
  std::array<std::int64_t, 16> leastPossible{};
  std::int64_t leastAbove = std::numeric_limits<std::int64_t>::max();
  for (int high = 14; high >= 0; --high) {
    leastAbove = std::min<std::int64_t>(leastAbove, totals.single[high + 1]);
    leastPossible[high] = std::int64_t(totals.single[high]) + leastAbove - totals.none;
  }
  McPair best{0, 0, std::numeric_limits<std::uint32_t>::max()};
  const int first =
      int(std::min_element(totals.single.begin(), totals.single.end()) - totals.single.begin());
  // Its pairs with the colours below it are tried with those colours.
  if (first < 15) {
    TryHigh(pixels, base, first, best);
  }
  for (int high = 0; high < 15; ++high) {
    // Only a smaller error, or an equal one of an earlier pair, wins.
    const std::int64_t least = leastPossible[high];
    if (high == first || least > best.error || (least == best.error && high > best.high)) {
      continue;
    }
    TryHigh(pixels, base, high, best);
  }
  return best;
}

}  // namespace

// Whole-number sums and minima: both clones give the same pair.
PAVONA_AVX2_CLONES McPair LeastErrorPair(std::span<const ColourErrors* const> pixels,
                                         std::span<const std::uint32_t> base)
{
  const bool bounded = pixels.size() > SpanPixels && pixels.size() <= CellPixelsAtMost;
  return bounded ? LeastErrorPairOfCell(pixels, base) : LeastErrorPairOfFew(pixels, base);
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
