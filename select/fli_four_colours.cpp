#include "select/fli_four_colours.h"

#include <algorithm>
#include <vector>

#include "select/cell_rows.h"
#include "select/cross_mixes.h"
#include "select/fli_span_output.h"
#include "select/span_points.h"

namespace pavona {
namespace {

constexpr std::uint32_t StrayPairCode = 0x00;

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
    FourMixBits bits;
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
      bits.Set(k, chosen);
    }
    WriteFourColourSpan(data, cx, cy, r, bits, a, b);
    CollectStrays(points, strays);
  }
};

}  // namespace

void SelectFliFourColours(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                          ProgressReport& progress)
{
  progress.SetStatus("Brute Force 4Color HI-FLI color selection in progress");
  const Search search{result, table, data, SlotFinder(table, MixColourCount),
                      SlotDistances(table, MixColourCount, measure)};
  SearchSpansByCellRow(progress, [&](int cx, int cy, int r, std::vector<std::uint32_t>& strays) {
    search.SelectSpan(cx, cy, r, strays);
  });
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
