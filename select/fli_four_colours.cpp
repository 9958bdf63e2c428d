#include "select/fli_four_colours.h"

#include <algorithm>
#include <vector>

#include "select/cross_mixes.h"
#include "select/ordered_units.h"
#include "select/span_points.h"

namespace pavona {
namespace {

constexpr std::uint32_t StrayPairCode = 0x00;

void ReapplyFlickerLevel(MixTable& table, const MixTableSetting& setting)
{
  if (setting.flicker == FlickerLevel::Off) {
    BuildMixPalette(table, setting.palette, setting.method, setting.mode);
  } else {
    ReduceFlicker(table, setting.flicker);
  }
}

struct Search {
  Picture& result;
  const MixTable& table;
  C64Data& data;
  SlotFinder finder;
  SlotDistances distances;

  void SelectSpan(int cx, int cy, int r, std::vector<std::uint32_t>& strays) const
  {
    std::uint32_t* span = &result[PixelIndex(cx * 8, cy * 8 + r)];
    const SpanPoints points = LocateSpanPoints(span, finder, distances);
    const SpanColours& values = points.values;
    const int n = values.count;
    std::uint32_t code[8];
    std::uint32_t d[8][8];
    for (int i = 0; i < n; ++i) {
      code[i] = points.Stray(i) ? StrayPairCode : MixPairCodes[points.slot[i]];
      for (int j = 0; j < n; ++j) {
        d[i][j] = DistanceWithin(distances, points, i, j);
      }
    }
    auto crossDistance = [&](int i, int slot) {
      return slot < 0 ? UINT32_MAX : DistanceToSlot(distances, points, i, slot);
    };
    // Positions holding equal values give equal errors: each ordered pair of
    // distinct values is summed once.
    std::uint32_t pairError[8][8];
    bool known[8][8] = {};
    auto errorOf = [&](int a, int b) {
      if (!known[a][b]) {
        const int c1 = CrossMix1(table, code[a], code[b]);
        const int c2 = CrossMix2(table, code[a], code[b]);
        std::uint32_t sum = 0;
        for (int i = 0; i < n; ++i) {
          const std::uint32_t nearest =
              std::min({d[i][a], d[i][b], crossDistance(i, c1), crossDistance(i, c2)});
          sum += values.pixels[i] * nearest;
        }
        pairError[a][b] = sum;
        known[a][b] = true;
      }
      return pairError[a][b];
    };
    int bestA = values.indexOf[0], bestB = values.indexOf[1];
    std::uint32_t best = errorOf(bestA, bestB);
    for (int s = 0; s < 7; ++s) {
      for (int t = s + 1; t < 8; ++t) {
        const int a = values.indexOf[s], b = values.indexOf[t];
        const std::uint32_t error = errorOf(a, b);
        if (error < best) {
          best = error;
          bestA = a;
          bestB = b;
        }
      }
    }
    const std::uint32_t a = code[bestA], b = code[bestB];
    const int c1 = CrossMix1(table, a, b), c2 = CrossMix2(table, a, b);
    std::uint8_t bits1 = 0, bits2 = 0;
    for (int k = 0; k < 8; ++k) {
      const int i = values.indexOf[k];
      FourMix chosen = FourMix::A;
      std::uint32_t nearest = d[i][bestA];
      std::uint32_t colour = values.colour[bestA];
      if (d[i][bestB] < nearest) {
        chosen = FourMix::B;
        nearest = d[i][bestB];
        colour = values.colour[bestB];
      }
      if (crossDistance(i, c1) < nearest) {
        chosen = FourMix::C1;
        nearest = crossDistance(i, c1);
        colour = table.colour[c1];
      }
      if (crossDistance(i, c2) < nearest) {
        chosen = FourMix::C2;
        colour = table.colour[c2];
      }
      span[k] = colour;
      bits1 |= FieldOneBit(chosen) ? std::uint8_t(0x80 >> k) : 0;
      bits2 |= FieldTwoBit(chosen) ? std::uint8_t(0x80 >> k) : 0;
    }
    const int bitmap = BitmapOffset(cx, cy, r);
    const int screen = r * ScreenBankSize + ScreenOffset(cx, cy);
    data[FliLayout::FliBitmap1.offset + bitmap] |= bits1;
    data[FliLayout::FliBitmap2.offset + bitmap] |= bits2;
    data[FliLayout::FliScreens1.offset + screen] = FieldOneScreenByte(a, b);
    data[FliLayout::FliScreens2.offset + screen] = FieldTwoScreenByte(a, b);
    CollectStrays(points, strays);
  }
};

}  // namespace

void SelectFliFourColours(Picture& result, MixTable& table, const MixTableSetting& setting,
                          Measure measure, C64Data& data, ProgressReport& progress)
{
  progress.SetStatus("Brute Force 4Color HI-FLI color selection in progress");
  ReapplyFlickerLevel(table, setting);
  const Search search{result, table, data, SlotFinder(table, MixColourCount),
                      SlotDistances(table, MixColourCount, measure)};
  constexpr int CellRows = 25;
  std::vector<std::vector<std::uint32_t>> strays(CellRows);
  RunUnitsInOrder(
      CellRows,
      [&](int cy) {
        for (int cx = 0; cx < 40; ++cx) {
          for (int r = 0; r < 8; ++r) {
            search.SelectSpan(cx, cy, r, strays[cy]);
          }
        }
      },
      [&](int cy) { progress.SetProgress(cy * 8); },
      [&](int cy) {
        for (std::uint32_t colour : strays[cy]) {
          progress.ReportStrayColour(colour);
        }
      });
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
