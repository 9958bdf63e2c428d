#include "select/fli_interlace_colours.h"

#include "select/ordered_units.h"
#include "select/span_pair_search.h"

namespace pavona {
namespace {

struct Search {
  SlotFinder finder;
  SlotDistances distances;

  void ReduceSpan(std::uint32_t* span) const
  {
    const SpanPoints points = LocateSpanPoints(span, finder, distances);
    const SpanColours& values = points.values;
    const SpanPairChoice choice = ChooseSpanPair(points, distances);
    const auto& d = choice.distance;
    const int bestA = choice.a, bestB = choice.b;
    for (int k = 0; k < 8; ++k) {
      const int i = values.indexOf[k];
      span[k] = values.colour[d[i][bestA] < d[i][bestB] ? bestA : bestB];
    }
  }
};

}  // namespace

void SelectFliInterlaceColours(Picture& result, const MixTable& table, Measure measure,
                               ProgressReport& progress)
{
  const Search search{SlotFinder(table, MixColourCount),
                      SlotDistances(table, MixColourCount, measure)};
  RunUnitsInOrder(
      PictureHeight, [&] { return progress.ShouldContinue(); },
      [&](int y) {
        for (int x = 0; x < PictureWidth; x += 8) {
          search.ReduceSpan(&result[PixelIndex(x, y)]);
        }
      },
      [&](int y) { progress.SetProgress(y); }, [](int) {});
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
