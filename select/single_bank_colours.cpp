#include "select/single_bank_colours.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "colour/mix_table.h"
#include "colour/yuv.h"
#include "select/hires_band_colours.h"

namespace pavona {
namespace {

constexpr int PaletteSize = 16;

// A colour with its unrounded Y, U and V.
struct Shade {
  std::uint32_t colour;
  YuvFloat yuv;
};

Shade MakeShade(std::uint32_t colour)
{
  return {colour, ColourToYuvFloat(colour)};
}

// The difference of two float channels, truncated toward zero. It is taken in
// double, where the difference of two floats is exact.
int ChannelDifference(float a, float b)
{
  return int(double(a) - double(b));
}

std::uint32_t BankDistance(Measure measure, const Shade& pixel, const Shade& colour)
{
  switch (measure) {
    case Measure::RgbDistance:
      return std::uint32_t(std::abs(RedOf(pixel.colour) - RedOf(colour.colour)) +
                           std::abs(GreenOf(pixel.colour) - GreenOf(colour.colour)) +
                           std::abs(BlueOf(pixel.colour) - BlueOf(colour.colour)));
    case Measure::Brightness:
      return std::uint32_t(std::abs(ChannelDifference(pixel.yuv.y, colour.yuv.y)));
    case Measure::Perceptual:
      break;
  }
  const std::uint32_t dy = std::uint32_t(std::abs(ChannelDifference(pixel.yuv.y, colour.yuv.y)));
  const std::uint32_t du = std::uint32_t(std::abs(ChannelDifference(pixel.yuv.u, colour.yuv.u)));
  const std::uint32_t dv = std::uint32_t(std::abs(ChannelDifference(pixel.yuv.v, colour.yuv.v)));
  return 2 * (dy * dy + du * du + dv * dv);
}

// The flicker mix of two palette colours as these searches see it. The YUV
// average does not take off the offset of 16 on the way back, so even a
// colour mixed with itself moves toward the middle (black becomes 16, 16, 16);
// the results stay within 15..235, so the clamp of the conversion never acts.
std::uint32_t MixOfPair(const Shade& first, const Shade& second, Measure measure, int limit)
{
  if (std::abs(ChannelDifference(first.yuv.y, second.yuv.y)) > limit) {
    return first.colour;
  }
  const std::uint32_t a = first.colour, b = second.colour;
  if (measure == Measure::RgbDistance) {
    return MakeColour((RedOf(a) + RedOf(b)) >> 1, (GreenOf(a) + GreenOf(b)) >> 1,
                      (BlueOf(a) + BlueOf(b)) >> 1);
  }
  const float y = (first.yuv.y + second.yuv.y) * 0.5f;
  const float u = (first.yuv.u + second.yuv.u) * 0.5f;
  const float v = (first.yuv.v + second.yuv.v) * 0.5f;
  return YuvToColour(y, u, v);
}

struct BankPair {
  int first;   // palette index of c1, the colour of the 1-bits
  int second;  // palette index of c2, the colour of the 0-bits
  Shade mix;
};

// The pairs do not depend on the unit, so they are made once per run.
std::array<BankPair, MixColourCount> MakePairs(const C64Palette& palette, Measure measure,
                                               int limit)
{
  std::array<BankPair, MixColourCount> pairs;
  int k = 0;
  for (int i = 0; i < PaletteSize; ++i) {
    for (int j = i; j < PaletteSize; ++j) {
      const Shade mix =
          MakeShade(MixOfPair(MakeShade(palette[i]), MakeShade(palette[j]), measure, limit));
      pairs[k++] = {i, j, mix};
    }
  }
  return pairs;
}

// Per distinct colour of a band: its distances to the 16 palette colours and
// to the 136 mixes, and per pair the least of its three distances.
struct ColourDistances {
  std::array<std::uint32_t, PaletteSize> toColour;
  std::array<std::uint32_t, MixColourCount> toMix;
  std::array<std::uint32_t, MixColourCount> pairShare;
};

struct Search {
  const C64Palette& palette;
  Measure measure;
  std::array<BankPair, MixColourCount> pairs;
  BandColours band;
  std::vector<ColourDistances> distances;
};

void MeasureBand(Search& search, const Picture& picture, int firstRow)
{
  search.band.Index(picture, firstRow, 8);
  std::array<Shade, PaletteSize> palette;
  for (int n = 0; n < PaletteSize; ++n) {
    palette[n] = MakeShade(search.palette[n]);
  }
  search.distances.resize(search.band.Count());
  for (int id = 0; id < search.band.Count(); ++id) {
    const Shade pixel = MakeShade(search.band.Colour(id));
    ColourDistances& d = search.distances[id];
    for (int n = 0; n < PaletteSize; ++n) {
      d.toColour[n] = BankDistance(search.measure, pixel, palette[n]);
    }
    for (int k = 0; k < MixColourCount; ++k) {
      const BankPair& pair = search.pairs[k];
      d.toMix[k] = BankDistance(search.measure, pixel, pair.mix);
      d.pairShare[k] = std::min({d.toColour[pair.first], d.toColour[pair.second], d.toMix[k]});
    }
  }
}

int BestPair(const Search& search, const UnitColour* colours, int colourCount)
{
  return LeastErrorPair<MixColourCount>(
      colours, colourCount, [&](int id) -> const auto& { return search.distances[id].pairShare; });
}

// Sets one pixel of a unit to c1, c2 or the mix, in that order of preference
// (each only when strictly nearer), and adds its bits: c1 is set in both
// fields, c2 in neither, the mix in field 1 only.
void PlacePixel(Picture& result, const Search& search, int k, int x, int bandRow, int y,
                std::uint8_t& bits1, std::uint8_t& bits2)
{
  const BankPair& pair = search.pairs[k];
  const ColourDistances& d = search.distances[search.band.IdAt(x, bandRow)];
  const std::uint32_t toFirst = d.toColour[pair.first];
  const std::uint32_t toSecond = d.toColour[pair.second];
  const std::uint8_t bit = std::uint8_t(0x80 >> (x & 7));
  std::uint32_t& shown = result[PixelIndex(x, y)];
  if (d.toMix[k] < std::min(toFirst, toSecond)) {
    shown = pair.mix.colour;
    bits1 = std::uint8_t(bits1 + bit);
  } else if (toSecond < toFirst) {
    shown = search.palette[pair.second];
  } else {
    shown = search.palette[pair.first];
    bits1 = std::uint8_t(bits1 + bit);
    bits2 = std::uint8_t(bits2 + bit);
  }
}

std::uint8_t ScreenByte(const BankPair& pair)
{
  return std::uint8_t(pair.first * 16 + pair.second);
}

Search StartSearch(const C64Palette& palette, Measure measure, FlickerLevel level)
{
  return {palette, measure, MakePairs(palette, measure, SingleBankBrightnessLimit(level)), {}, {}};
}

// Where a unit goes: the same screen byte into both fields' screens, each
// field's bits into its own bitmap.
struct UnitRegions {
  C64Region screen1;
  C64Region screen2;
  C64Region bitmap1;
  C64Region bitmap2;
};

constexpr UnitRegions HiresRegions = {HiresLayout::HiresScreen1, HiresLayout::HiresScreen2,
                                      HiresLayout::HiresBitmap1, HiresLayout::HiresBitmap2};
constexpr UnitRegions FliRegions = {FliLayout::FliScreens1, FliLayout::FliScreens2,
                                    FliLayout::FliBitmap1, FliLayout::FliBitmap2};

// The unit of band rows firstRow .. firstRow + rowCount - 1 of cell (cx, cy):
// picks its pair, writes the screen byte at `screen` and places its pixels.
void SelectUnit(Picture& result, const Search& search, const UnitRegions& regions, int screen,
                int cx, int cy, int firstRow, int rowCount, C64Data& data)
{
  std::array<UnitColour, 64> colours;
  const int colourCount =
      GatherUnitColours(search.band, cx * 8, firstRow, rowCount, colours.data());
  const int k = BestPair(search, colours.data(), colourCount);
  data[regions.screen1.offset + screen] = ScreenByte(search.pairs[k]);
  data[regions.screen2.offset + screen] = ScreenByte(search.pairs[k]);
  for (int r = firstRow; r < firstRow + rowCount; ++r) {
    const int bitmap = BitmapOffset(cx, cy, r);
    for (int x = cx * 8; x < cx * 8 + 8; ++x) {
      PlacePixel(result, search, k, x, r, cy * 8 + r, data[regions.bitmap1.offset + bitmap],
                 data[regions.bitmap2.offset + bitmap]);
    }
  }
}

}  // namespace

void SelectSingleBankHiresColours(Picture& result, const C64Palette& palette, Measure measure,
                                  FlickerLevel level, C64Data& data, ProgressReport& progress)
{
  progress.SetStatus("Brute Force Single bank hires color selection in progress");
  Search search = StartSearch(palette, measure, level);
  for (int cy = 0; cy < 25 && progress.ShouldContinue(); ++cy) {
    progress.SetProgress(cy * 8);
    MeasureBand(search, result, cy * 8);
    for (int cx = 0; cx < 40; ++cx) {
      SelectUnit(result, search, HiresRegions, ScreenOffset(cx, cy), cx, cy, 0, 8, data);
    }
  }
  progress.SetStatus(" ");
  progress.SetProgress(0);
}

void SelectSingleBankFliColours(Picture& result, const C64Palette& palette, Measure measure,
                                FlickerLevel level, C64Data& data, ProgressReport& progress)
{
  progress.SetStatus("Brute Force Single bank HI-FLI color selection in progress");
  Search search = StartSearch(palette, measure, level);
  for (int cy = 0; cy < 25 && progress.ShouldContinue(); ++cy) {
    for (int r = 0; r < 8 && progress.ShouldContinue(); ++r) {
      progress.SetProgress(cy * 8 + r);
      if (r == 0) {
        // Distances are worked out once per colour of the whole cell row.
        MeasureBand(search, result, cy * 8);
      }
      for (int cx = 0; cx < 40; ++cx) {
        SelectUnit(result, search, FliRegions, FliScreenOffset(cx, cy, r), cx, cy, r, 1, data);
      }
    }
  }
  progress.SetStatus(" ");
  progress.SetProgress(0);
}

}  // namespace pavona
