#pragma once

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// What the four-colour search needs to put the "Flicker col reduction" level
// back in force on the mix table before it starts.
struct MixTableSetting {
  C64Palette palette{};
  MixMethod method = MixMethod::Rgb;
  GraphicMode mode = GraphicMode::HiresFliInterlace;
  FlickerLevel flicker = FlickerLevel::Medium;
};

// "Hires FLI Interlace" with four colours per 8x1. First applies the flicker
// level to the table again: "Off" rebuilds it (which undoes the reduction for
// "'Y' Brightness" matching), a level reduces it once more. Then, for every
// span, tries every pair of its own pixel colours as the base mixes A and B;
// each pixel may show A, B or one of the two cross mixes the fields produce,
// the nearest one (A, then B, C1, C2, each only when strictly nearer). Writes
// all four FLI regions and the mixes the pixels will show; `data` must be 0 on
// entry.
//
// A pixel value that no mix slot holds is reported as a stray colour and
// given the pair code of mix 0 (0x00); the search goes on.
void SelectFliFourColours(Picture& result, MixTable& table, const MixTableSetting& setting,
                          Measure measure, C64Data& data, ProgressReport& progress);

}  // namespace pavona
