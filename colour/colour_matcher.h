#pragma once

#include <cstdint>

#include "colour/colour_match.h"
#include "colour/mix_table.h"

namespace pavona {

// Nearest-colour matching against one mix table by one measure, for the
// stages that match every pixel of a frame. Built once per stage; gives
// exactly what MatchColour gives.
class ColourMatcher {
 public:
  ColourMatcher(const MixTable& table, Measure measure, GraphicMode mode)
      : table_(table), measure_(measure), mode_(mode)
  {
  }

  std::uint32_t Match(std::uint32_t colour) const { return MatchColour(colour, table_, measure_, mode_); }

 private:
  const MixTable& table_;
  Measure measure_;
  GraphicMode mode_;
};

}  // namespace pavona
