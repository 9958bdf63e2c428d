#pragma once

#include <cstdint>

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "colour/progress.h"
#include "dither/dither_settings.h"

namespace pavona {

// Dithers for the multicolour modes without interlace, whose pixels are two
// hires pixels wide: each pair of adjusted pixels is averaged, the 160 x 200
// picture of pairs is dithered by the selected method, and both pixels of a
// pair take the colour chosen for it. The methods are the hires ones counted
// in wide pixels: the error diffusion kernels reach the next wide pixels, the
// ordered matrices and the random draws run over wide-pixel columns (the
// random generator advances once per wide pixel).
void DitherWidePixels(AdjustedPlanes& planes, const ColourMatcher& match,
                      const DitherSettings& settings, std::uint32_t& randomState,
                      ProgressReport& progress);

}  // namespace pavona
