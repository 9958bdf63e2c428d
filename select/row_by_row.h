#pragma once

#include <memory>

#include "colour/picture.h"
#include "colour/progress.h"
#include "select/ordered_units.h"

namespace pavona {

// The frame of the extreme searches, which grow the result in view row by
// row: searchSpan(in, out, cx, y) reads the 8 pixels of span (cx, y) from
// `in` and writes its 8 new pixels to `out`. Rows are computed on worker
// threads into a scratch picture; the calling thread copies each finished row
// into `result` and shows it, top to bottom, so nothing the viewer reads is
// written while it reads.
template <typename SearchSpan>
void SearchRowByRow(Picture& result, ProgressReport& progress, SearchSpan searchSpan)
{
  auto finished = std::make_unique<Picture>();
  RunUnitsInOrder(
      PictureHeight, [&] { return progress.ShouldContinue(); },
      [&](int y) {
        for (int cx = 0; cx < 40; ++cx) {
          const int at = PixelIndex(cx * 8, y);
          searchSpan(&result[at], &(*finished)[at], cx, y);
        }
      },
      [&](int y) { progress.SetProgress(y); },
      [&](int y) {
        std::copy_n(finished->begin() + PixelIndex(0, y), PictureWidth,
                    result.begin() + PixelIndex(0, y));
        progress.ShowRows(result, y, 1);
      });
}

}  // namespace pavona
