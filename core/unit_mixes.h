#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "core/settings.h"
#include "dither/allowed_mixes.h"

namespace pavona {

// The colour selection just made, as the refinement reads it: the C64 data
// before the interlace alternation, and the result picture (the two-colour
// FLI interlace search leaves only the picture).
struct ChosenColours {
  const C64Data& data;
  const Picture& result;
  const C64Palette& palette;
  // The table the search worked with; a mix it removed cannot be shown.
  const MixTable& searchTable;
};

// One mix a pixel can show, and the bitmap bits that show it.
struct UnitMix {
  std::uint8_t slot = 0;
  bool field1Bit = false;
  bool field2Bit = false;
  friend bool operator==(const UnitMix&, const UnitMix&) = default;
};

// What every pixel of the frame can show with the colours chosen for its cell
// or span. A pixel with no mixes listed (left of the mode's first shown
// column, or a unit whose mixes were all removed) is left free.
struct UnitMixes {
  std::vector<std::array<UnitMix, AllowedMixes::MostPerPixel>> mixes =
      std::vector<std::array<UnitMix, AllowedMixes::MostPerPixel>>(PixelCount);
  std::vector<std::uint8_t> count = std::vector<std::uint8_t>(PixelCount, 0);
  // Whether the result shows the table's colour of each listed slot, so a
  // pixel may be given another of its mixes by writing that colour and those
  // bits. Not so under "Same Col Banks", whose searches show palette colours
  // and mixes of their own.
  bool resultShowsTableColours = true;
  // Where the search keeps each field's bitmap; size 0 for a field without
  // one, and for both where the bitmap is built from the result later.
  C64Region bitmap1{0, 0};
  C64Region bitmap2{0, 0};

  // Whether both list the same mixes for every pixel.
  bool SameMixes(const UnitMixes& other) const
  {
    return mixes == other.mixes && count == other.count;
  }
};

// The mixes each pixel can show: without interlace the unit's two colours;
// with interlace the mixes of a colour of the field-1 unit with a colour of
// the field-2 unit at the pixel (only the two base mixes where both fields
// share one bitmap, and under "Same Col Banks" the unit's mix only where the
// search would allow it), leaving out the mixes the flicker reduction removed
// from either table. `ditherTable` is the table the dithering matches with.
std::unique_ptr<UnitMixes> MixesOfChosenUnits(const ChosenColours& chosen,
                                              const MixTable& ditherTable, const Settings& settings,
                                              int firstColumn);

// The same as the dithering's list of allowed slots per pixel.
std::unique_ptr<AllowedMixes> AllowedMixesOf(const UnitMixes& units, const MixTable& ditherTable,
                                             Measure measure);

}  // namespace pavona
