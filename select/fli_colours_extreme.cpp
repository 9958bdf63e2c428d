#include <cstring>

#include "colour/cpu_clones.h"
#include "select/fli_extreme.h"
#include "select/fli_span_output.h"
#include "select/row_by_row.h"
#include "select/slot_finder.h"
#include "select/span_colours.h"
#include "select/span_distance.h"

namespace pavona {
namespace {

constexpr int PureColours = 16;

struct PurePair {
  int i = 0;
  int j = 0;
};

// distances[k][c]: from the span's distinct value k to pure colour c;
// pixels[k]: how many pixels hold value k. For each A = i the errors of all
// sixteen B = j are summed at once, then the pairs are taken in order (i
// outer, j inner from i), each only when strictly better.
PAVONA_AVX2_CLONES PurePair BestPurePair(const std::uint32_t (*distances)[PureColours],
                                         const std::uint32_t* pixels, int count)
{
  using Lanes = std::uint32_t __attribute__((vector_size(4 * PureColours)));
  Lanes rows[8];
  for (int k = 0; k < count; ++k) {
    std::memcpy(&rows[k], distances[k], sizeof(Lanes));
  }
  PurePair winner;
  std::uint32_t best = UINT32_MAX;  // above any real error, so (0, 0) is taken first
  for (int i = 0; i < PureColours; ++i) {
    Lanes error = {};
    for (int k = 0; k < count; ++k) {
      const Lanes toA = Lanes{} + distances[k][i];
      error += (toA < rows[k] ? toA : rows[k]) * pixels[k];
    }
    for (int j = i; j < PureColours; ++j) {
      if (error[j] < best) {
        best = error[j];
        winner = {i, j};
      }
    }
  }
  return winner;
}

struct Search {
  const MixTable& table;
  C64Data& data;
  SlotFinder finder;
  SlotDistances distances;

  void SelectSpan(const std::uint32_t* in, std::uint32_t* out, int cx, int y) const
  {
    const SpanColours values = GatherSpanColours(in);
    std::uint32_t toColour[8][PureColours];
    for (int k = 0; k < values.count; ++k) {
      const int slot = finder.Find(values.colour[k]);
      if (slot >= 0) {
        std::memcpy(toColour[k], distances.Row(slot), sizeof(toColour[k]));
        continue;
      }
      const MeasuredColour pixel = Measured(values.colour[k]);
      for (int c = 0; c < PureColours; ++c) {
        toColour[k][c] = SpanDistance(distances.GetMeasure(), pixel, distances.Slot(c));
      }
    }
    const PurePair winner = BestPurePair(toColour, values.pixels.data(), values.count);
    std::uint8_t bits = 0;
    for (int k = 0; k < 8; ++k) {
      const std::uint32_t* d = toColour[values.indexOf[k]];
      if (d[winner.j] < d[winner.i]) {
        out[k] = table.colour[winner.j];
      } else {
        out[k] = table.colour[winner.i];
        bits |= std::uint8_t(0x80 >> k);
      }
    }
    const int cy = y / 8, r = y % 8;
    WriteFliSpan(data, cx, cy, r, bits, std::uint8_t(winner.i * 16 + winner.j));
  }
};

}  // namespace

void SelectFliColoursExtreme(Picture& result, const MixTable& table, Measure measure, C64Data& data,
                             ProgressReport& progress)
{
  progress.SetStatus("Extreme Brute Force Hi-fli color selection in progress");
  const Search search{table, data, SlotFinder(table, PureColours),
                      SlotDistances(table, PureColours, measure)};
  SearchRowByRow(result, progress, [&](const std::uint32_t* in, std::uint32_t* out, int cx, int y) {
    search.SelectSpan(in, out, cx, y);
  });
  progress.SetProgress(0);
  progress.SetStatus(" ");
}

}  // namespace pavona
