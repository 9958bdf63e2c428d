#pragma once

#include <cstdint>

#include "c64/c64_data.h"
#include "colour/memory_pages.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "plan/conversion_plan.h"
#include "plan/settings.h"

namespace pavona {

// What a conversion writes, kept apart from the workspace until the run has
// ended, so a stopped run leaves the previous result as it was.
// On huge pages when made with std::make_unique: every run fills them whole.
struct RunPictures : OnHugePages {
  C64Palette palette{};
  MixTable mix;
  AdjustedPlanes adjusted;
  Picture dithered{};
  Picture result{};
  C64Data c64{};
  std::uint32_t randomState = 1;
};

// The mix table as the plan wants it before dithering: rebuilt from the
// palette, then the flicker level's reduction and the luma reduction.
void PrepareMixTable(MixTable& table, const C64Palette& palette, const Settings& settings,
                     const MixTablePlan& plan);

// Both pictures get mix colour 0 everywhere, then the dithered pixels from
// firstColumn on.
void InitResultPictures(RunPictures& run, int firstColumn);

// `picture` black outside `shown`, the part of the frame the C64 shows.
Picture AsTheC64ShowsIt(const Picture& picture, FrameArea shown);
// The same, written into `shownPicture` (on the heap, where the stack may be short).
void AsTheC64ShowsIt(const Picture& picture, FrameArea shown, Picture& shownPicture);

}  // namespace pavona
