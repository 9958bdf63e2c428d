#pragma once

#include "colour/picture.h"

namespace pavona {

// The 320 x 200 frame cut out of a loaded picture whose top-left corner is
// drawn at (left, top) in the frame; left and top are the scroll bar
// positions, so normally 0 or negative. Frame pixels the picture does not
// cover are black: a small picture never shows leftovers of an earlier one.
Picture FrameFromPicture(const LoadedPicture& picture, int left, int top);
// The same frame drawn over whatever `frame` held, where it is to be kept:
// no quarter-megabyte picture on the way.
void FrameFromPicture(const LoadedPicture& picture, int left, int top, Picture& frame);

// One scroll bar's range of positions.
struct ScrollRange {
  int minimum = 0;
  int maximum = 0;
  friend bool operator==(const ScrollRange&, const ScrollRange&) = default;
};

// The horizontal and vertical scroll bars under and beside the source frame.
// A position is where the picture's top-left corner is drawn, so the range
// runs from 320 - width (the right edge in view) up to 0 for a picture at
// least as wide as the frame, and is 0..0 for a narrower one; likewise for
// the height against 200.
struct SourceScrollRanges {
  ScrollRange horizontal;
  ScrollRange vertical;
  friend bool operator==(const SourceScrollRanges&, const SourceScrollRanges&) = default;
};

SourceScrollRanges ScrollRangesForPicture(int width, int height);

}  // namespace pavona
