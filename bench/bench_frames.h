#pragma once

// What the benchmarks start from besides the photo frames: the table of the
// main window's start values (Pepto palette, RGB mix, "Hires FLI Interlace",
// "Medium" flicker reduction), built once per program.

#include "select/select_frames.h"

namespace pavona::bench {

constexpr GraphicMode DefaultMode = GraphicMode::HiresFliInterlace;

inline const MixTable& DefaultTable()
{
  static const MixTable table = testing::PeptoTable(DefaultMode, FlickerLevel::Medium);
  return table;
}

}  // namespace pavona::bench
