#pragma once

#include <memory>
#include <optional>

#include "colour/picture.h"
#include "plan/run_pictures.h"
#include "plan/settings.h"

namespace pavona {

struct RefineScratch;
class ReachMapping;

// The owner of every working picture and table, for the life of the program.
// The pictures are large, so a Workspace lives on the heap (make it with
// std::make_unique) and is never copied by accident.
//
// Its RunPictures part is what the last finished conversion left: the
// adjusted planes (dithered in place), the dithered picture (reference for
// the error value and the hold view), the result (what the C64 will show),
// the palette, the mix table, the C64 data and the state of the random
// dithering generator (1 at program start, never reseeded, so later
// conversions continue the sequence).
struct Workspace : RunPictures {
  Workspace();
  ~Workspace();
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Picture source{};  // the frame as shown
  LoadedPicture loaded;

  bool conversionDone = false;
  // The settings the last conversion ran with: saving and previewing use the
  // layout of the mode that was converted, not of the controls as they are now.
  std::optional<Settings> converted;

  // The buffers of "Refine", made by its first conversion.
  std::unique_ptr<RefineScratch> refineScratch;
  // "Map colours into reach" for the last mix table, made by its first use.
  std::unique_ptr<ReachMapping> reachMapping;
};

}  // namespace pavona
