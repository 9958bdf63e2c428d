#pragma once

#include "colour/progress.h"
#include "core/settings.h"
#include "core/workspace.h"

namespace pavona {

// The first picture column taken from the dithered picture: the FLI viewers
// cover columns 0..23 with a black sprite column, so the FLI modes leave them
// at mix colour 0.
constexpr int FirstColumn(GraphicMode mode)
{
  return IsFli(mode) ? 24 : 0;
}

struct ConversionOutcome {
  int changedPixels = 0;  // pixels the C64's colour limits changed
  int errorPercent = 0;   // changedPixels as a whole percentage of the frame, rounded down
};

// Converts workspace.source (the frame as shown) with the given settings:
// builds and reduces the mix table, adjusts and dithers the picture, runs the
// colour selection of the mode and fills workspace.c64 in the mode's layout,
// including the interlace alternation. Records the settings it ran with in
// workspace.converted, for saving and previewing.
ConversionOutcome ConvertRun(Workspace& workspace, const Settings& settings,
                             ProgressReport& progress);

// Both pictures get mix colour 0 everywhere, then the dithered pixels from
// firstColumn on.
void InitResultPictures(Workspace& workspace, int firstColumn);

ConversionOutcome CountErrorPixels(const Picture& result, const Picture& dithered);

// The mix table as the settings want it before dithering: rebuilt from the
// palette, then in the interlaced modes without "Same Col Banks" the flicker
// level's reduction and, under "'Y' Brightness" matching, the luma reduction.
void PrepareMixTable(MixTable& table, const C64Palette& palette, const Settings& settings);

}  // namespace pavona
