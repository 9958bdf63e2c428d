#include "select/fli_colours.h"

#include <vector>

#include "select/ordered_units.h"
#include "select/span_pair_search.h"

namespace pavona {
namespace {

constexpr int PureColours = 16;
// A value that none of the 16 slots holds is written as white.
constexpr int StrayColourNumber = 1;

struct Search {
  Picture& result;
  C64Data& data;
  SlotFinder finder;
  SlotDistances distances;

  void SelectSpan(int cx, int cy, int r, std::vector<std::uint32_t>& strays) const
  {
    std::uint32_t* span = &result[PixelIndex(cx * 8, cy * 8 + r)];
    const SpanPoints points = LocateSpanPoints(span, finder, distances);
    const SpanColours& values = points.values;
    const SpanPairChoice choice = ChooseSpanPair(points, distances);
    const auto& d = choice.distance;
    const int bestA = choice.a, bestB = choice.b;
    std::uint8_t bits = 0;
    for (int k = 0; k < 8; ++k) {
      const int i = values.indexOf[k];
      if (d[i][bestB] < d[i][bestA]) {
        span[k] = values.colour[bestB];
      } else {
        span[k] = values.colour[bestA];
        bits |= std::uint8_t(0x80 >> k);
      }
    }
    const int numberA = points.Stray(bestA) ? StrayColourNumber : points.slot[bestA];
    const int numberB = points.Stray(bestB) ? StrayColourNumber : points.slot[bestB];
    data[FliLayout::FliBitmap1.offset + BitmapOffset(cx, cy, r)] |= bits;
    data[FliLayout::FliScreens1.offset + r * ScreenBankSize + ScreenOffset(cx, cy)] =
        std::uint8_t(numberA * 16 + numberB);
    CollectStrays(points, strays);
  }
};

}  // namespace

void SelectFliColours(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                      ProgressReport& progress)
{
  progress.SetStatus("Brute Force HI-FLI color selection in progress");
  const Search search{result, data, SlotFinder(table, PureColours),
                      SlotDistances(table, PureColours, measure)};
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
