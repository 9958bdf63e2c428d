#pragma once

#include <vector>

#include "c64/c64_data.h"
#include "colour/graphic_mode.h"

namespace pavona {

// What a conversion produced, as far as the output files need to know: the
// mode and what its interlace fields share, as the conversion plan decided.
// It describes the conversion that filled C64Data, never the controls as they
// are when saving, so a file always matches the data it is cut from.
struct OutputKind {
  GraphicMode mode = GraphicMode::HiresFliInterlace;
  bool sameBanks = false;     // "Same Col Banks": both fields use one screen per row
  bool sharedBitmap = false;  // both FLI interlace fields show one bitmap, held once
  friend bool operator==(const OutputKind&, const OutputKind&) = default;
};

// The regions of C64Data that the raw file and the program file of a hires
// mode hold, in file order, spare bytes included (the multicolour modes'
// files follow their editors' layout instead).
std::vector<C64Region> PictureSlices(OutputKind kind);

}  // namespace pavona
