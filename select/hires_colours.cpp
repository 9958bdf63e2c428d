#include "select/hires_colours.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "colour/mix_table.h"
#include "colour/yuv.h"
#include "select/cell_distance.h"
#include "select/hires_band_colours.h"

namespace pavona {
namespace {

constexpr int PaletteSize = 16;

struct Pair {
  int first;   // colour of the 1-bits
  int second;  // colour of the 0-bits
};

constexpr std::array<Pair, MixColourCount> MakePairs()
{
  std::array<Pair, MixColourCount> pairs{};
  int k = 0;
  for (int i = 0; i < PaletteSize; ++i) {
    for (int j = i; j < PaletteSize; ++j) {
      pairs[k++] = {i, j};
    }
  }
  return pairs;
}

constexpr std::array<Pair, MixColourCount> Pairs = MakePairs();

// Per distinct colour of a band: its Y, U, V and, for every pair, the smaller
// of its distances to the pair's two colours (its share of a cell error).
struct BandDistances {
  std::vector<Yuv> yuv;
  std::vector<std::array<std::uint32_t, MixColourCount>> pairShare;
};

void MeasureBand(const BandColours& band, const MixTable& table, Measure measure,
                 BandDistances& distances)
{
  distances.yuv.resize(band.Count());
  distances.pairShare.resize(band.Count());
  for (int id = 0; id < band.Count(); ++id) {
    const std::uint32_t pixel = band.Colour(id);
    const Yuv pixelYuv = ColourToYuv(pixel);
    std::array<std::uint32_t, PaletteSize> toColour;
    for (int n = 0; n < PaletteSize; ++n) {
      toColour[n] = CellDistance(measure, pixel, pixelYuv, table.colour[n],
                                 Yuv{table.y[n], table.u[n], table.v[n]});
    }
    for (int k = 0; k < MixColourCount; ++k) {
      distances.pairShare[id][k] = std::min(toColour[Pairs[k].first], toColour[Pairs[k].second]);
    }
    distances.yuv[id] = pixelYuv;
  }
}

int BestPair(const BandDistances& distances, const UnitColour* colours, int colourCount)
{
  return LeastErrorPair<MixColourCount>(
      colours, colourCount, [&](int id) -> const auto& { return distances.pairShare[id]; });
}

void WriteCell(Picture& result, const MixTable& table, Measure measure, const BandColours& band,
               const BandDistances& distances, int cx, int cy, Pair pair, C64Data& data)
{
  const std::uint32_t a = table.colour[pair.first];
  const std::uint32_t b = table.colour[pair.second];
  // A duplicate palette colour is coded by its lowest colour number.
  data[HiresLayout::HiresScreen1.offset + ScreenOffset(cx, cy)] =
      std::uint8_t(FindMixIndex(table, a, PaletteSize) * 16 + FindMixIndex(table, b, PaletteSize));
  const Yuv yuvA = ColourToYuv(a);
  const Yuv yuvB = ColourToYuv(b);
  for (int r = 0; r < 8; ++r) {
    std::uint8_t& bits = data[HiresLayout::HiresBitmap1.offset + BitmapOffset(cx, cy, r)];
    for (int k = 0; k < 8; ++k) {
      const int x = cx * 8 + k;
      const int id = band.IdAt(x, r);
      const std::uint32_t pixel = band.Colour(id);
      const Yuv& pixelYuv = distances.yuv[id];
      std::uint32_t& shown = result[PixelIndex(x, cy * 8 + r)];
      // Ties go to A, the colour of the 1-bits.
      if (CellDistance(measure, pixel, pixelYuv, b, yuvB) <
          CellDistance(measure, pixel, pixelYuv, a, yuvA)) {
        shown = b;
      } else {
        shown = a;
        bits = std::uint8_t(bits + (0x80 >> k));
      }
    }
  }
}

}  // namespace

void SelectHiresColours(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                        ProgressReport& progress)
{
  progress.SetStatus("Brute Force Hires color selection in progress");
  BandColours band;
  BandDistances distances;
  std::array<UnitColour, 64> colours;
  for (int cy = 0; cy < 25 && progress.ShouldContinue(); ++cy) {
    progress.SetProgress(cy * 8);
    band.Index(result, cy * 8, 8);
    MeasureBand(band, table, measure, distances);
    for (int cx = 0; cx < 40; ++cx) {
      const int colourCount = GatherUnitColours(band, cx * 8, 0, 8, colours.data());
      const Pair pair = Pairs[BestPair(distances, colours.data(), colourCount)];
      WriteCell(result, table, measure, band, distances, cx, cy, pair, data);
    }
  }
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
