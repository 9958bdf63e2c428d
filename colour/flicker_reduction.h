#pragma once

#include <span>
#include <utility>

#include "colour/mix_palette.h"
#include "colour/mix_table.h"

namespace pavona {

enum class FlickerLevel { Off, Light, Medium, Heavy };

using ColourPair = std::pair<int, int>;  // C64 colour numbers (i, j), i < j

// Pairs whose flicker mix each level takes out of the table. They nest: every
// Light pair is a Medium pair, every Medium pair a Heavy pair, and every pair
// of the luma table a Medium pair.
std::span<const ColourPair> LightFlickerPairs();
std::span<const ColourPair> MediumFlickerPairs();
std::span<const ColourPair> HeavyFlickerPairs();
std::span<const ColourPair> LumaFlickerPairs();

// Each removes its pairs by overwriting their slots in all four tables with
// slot 0, so no nearest-colour search (which keeps the first of equals) can
// choose them again. They do not rebuild the table first.
void ReduceFlickerLight(MixTable& table);
void ReduceFlickerMedium(MixTable& table);
void ReduceFlickerHeavy(MixTable& table);
void ReduceFlickerForLuma(MixTable& table);

// The reduction of one level; "Off" removes nothing.
void ReduceFlicker(MixTable& table, FlickerLevel level);

// Puts the level back in force on a table that was reduced before: "Off"
// rebuilds the table from the palette, which also brings back the mixes of the
// luma reduction; a level is applied once more, which removes nothing new from
// a table it has reduced already. The four-colour FLI interlace search has
// always run on the table made so.
void ReapplyFlickerLevel(MixTable& table, const C64Palette& palette, MixMethod method,
                         GraphicMode mode, FlickerLevel level);

}  // namespace pavona
