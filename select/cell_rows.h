#pragma once

#include <cstdint>
#include <vector>

#include "colour/progress.h"
#include "select/ordered_units.h"

namespace pavona {

// The frame of the span searches that write the result in place: the 25 cell
// rows are searched on worker threads, searchSpan(cx, cy, r, strays) takes
// span r of cell (cx, cy) and appends the stray colours it meets to the list
// of its cell row. The calling thread reports progress and each row's stray
// colours in row order, as a single thread would.
template <typename SearchSpan>
void SearchSpansByCellRow(ProgressReport& progress, SearchSpan searchSpan)
{
  constexpr int CellRows = 25;
  std::vector<std::vector<std::uint32_t>> strays(CellRows);
  RunUnitsInOrder(
      CellRows, [&] { return progress.ShouldContinue(); },
      [&](int cy) {
        for (int cx = 0; cx < 40; ++cx) {
          for (int r = 0; r < 8; ++r) {
            searchSpan(cx, cy, r, strays[cy]);
          }
        }
      },
      [&](int cy) { progress.SetProgress(cy * 8); },
      [&](int cy) {
        for (std::uint32_t colour : strays[cy]) {
          progress.ReportStrayColour(colour);
        }
      });
}

}  // namespace pavona
