#pragma once

#include <vector>

#include "c64/c64_data.h"
#include "colour/graphic_mode.h"

namespace pavona {

// What a conversion produced, as far as the output files need to know: the
// mode and the two options that change what an interlaced picture holds. It
// describes the conversion that filled C64Data, never the controls as they
// are when saving, so a file always matches the data it is cut from.
struct OutputKind {
  GraphicMode mode = GraphicMode::HiresFliInterlace;
  bool sameBanks = false;   // "Same Col Banks": both fields use one screen per row
  bool fourColours = true;  // "4 cols per 8x1": FLI interlace fields keep their own bitmaps
  friend bool operator==(const OutputKind&, const OutputKind&) = default;
};

// An FLI interlace picture converted without "4 cols per 8x1" and without
// "Same Col Banks" has one bitmap for both fields; its files hold it once.
constexpr bool SharesOneBitmap(OutputKind kind)
{
  return kind.mode == GraphicMode::HiresFliInterlace && !kind.sameBanks && !kind.fourColours;
}

// The regions of C64Data that the raw file and the program file hold, in
// file order, spare bytes included.
std::vector<C64Region> PictureSlices(OutputKind kind);

}  // namespace pavona
