#pragma once

#include <cstdint>

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "colour/progress.h"
#include "dither/dither_settings.h"

namespace pavona {

// The generator of random dithering: state = state * 22695477 + 1 (modulo
// 2^32), and the draw is bits 16..30 of the new state, 0..32767. The caller
// keeps the state: 1 at program start, never reseeded.
int NextRandomDraw(std::uint32_t& state);

// Adds noise in 0 .. "Strength" - 1 to the pixel's channels (one draw for all
// three, or with "Seperate RGB" one each in the order R, G, B), clamps and
// stores the nearest mix colour. A "Strength" of 0 or less adds no noise but
// draws as often as any other, so the sequence stays where it would be.
void RandomDitherPixel(AdjustedPlanes& planes, int x, int y, const DitherSettings& settings,
                       std::uint32_t& state, const ColourMatcher& match);

// RandomDitherPixel on rows 0..199, the progress bar following the row and
// back at 0 after the last.
void RandomDither(AdjustedPlanes& planes, const DitherSettings& settings, std::uint32_t& state,
                  const ColourMatcher& match, ProgressReport& progress);

}  // namespace pavona
