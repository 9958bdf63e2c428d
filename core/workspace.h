#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "plan/settings.h"

namespace pavona {

struct RefineScratch;
class ReachMapping;

// The owner of every working picture and table, for the life of the program.
// The pictures are large, so a Workspace lives on the heap (make it with
// std::make_unique) and is never copied by accident.
struct Workspace {
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Picture source{};         // the frame as shown
  AdjustedPlanes adjusted;  // adjusted, then dithered in place
  Picture dithered{};       // reference for the error value and the hold view
  Picture result{};         // what the C64 will show
  C64Palette palette{};
  MixTable mix;
  C64Data c64{};
  LoadedPicture loaded;

  bool conversionDone = false;
  // The settings the last conversion ran with: saving and previewing use the
  // layout of the mode that was converted, not of the controls as they are now.
  std::optional<Settings> converted;

  // State of the random dithering generator: 1 at program start, never
  // reseeded, so later conversions continue the sequence.
  std::uint32_t randomState = 1;

  // The buffers of "Refine", made by its first conversion.
  std::unique_ptr<RefineScratch> refineScratch;
  // "Map colours into reach" for the last mix table, made by its first use.
  std::unique_ptr<ReachMapping> reachMapping;
};

}  // namespace pavona
