#pragma once

#include "colour/colour_matcher.h"
#include "colour/picture.h"
#include "colour/progress.h"
#include "dither/dither_settings.h"

namespace pavona {

// The published error-diffusion kernels: Atkinson, Sierra Lite,
// Jarvis-Judice-Ninke and Stucki.
bool IsKernelDiffusion(DitherMethod method);

// The kernel of `method` over columns 0..width-1 of the planes (320, or 160
// for the squeezed wide pixels of the multicolour modes), rows 0..199, each
// left to right, or in serpentine order the odd rows right to left with the
// kernel mirrored. Errors are carried at full precision and are not clamped
// to 0..255 on the way, only the colour that is matched is; neighbours past
// the edges of the frame get none. The progress bar follows the row.
void KernelDiffusion(AdjustedPlanes& planes, int width, DitherMethod method, bool serpentine,
                     const ColourMatcher& match, ProgressReport& progress);

}  // namespace pavona
