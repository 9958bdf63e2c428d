#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "c64/c64_data.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"
#include "colour/picture.h"
#include "plan/conversion_plan.h"
#include "plan/settings.h"

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

// A pixel shows one of at most four mixes: the two colours of its unit in
// each of two fields, crossed.
constexpr int MostMixesPerPixel = 4;

// One mix a pixel can show, and the bitmap bits that show it.
struct UnitMix {
  std::uint8_t slot = 0;
  bool field1Bit = false;
  bool field2Bit = false;
  friend bool operator==(const UnitMix&, const UnitMix&) = default;
};

// A pixel's mixes, in the order the refinement lists them.
struct MixList {
  std::array<UnitMix, MostMixesPerPixel> mixes{};
  int count = 0;

  // Adds the mix unless its slot is listed already.
  void Add(int slot, bool field1Bit, bool field2Bit);
};

// Where each pixel's unit keeps its colours in the C64 data and which mixes
// they give, where the refinement may choose those colours again: each unit
// (cell or span) has a screen byte per field, its high nibble the colour of
// the 1-bits, the low nibble that of the 0-bits.
struct UnitColourPlaces {
  bool chooseable = false;
  bool interlaced = false;  // a field-1 colour crossed with a field-2 colour
  bool fli = false;         // units of 8 x 1 pixels, else 8 x 8
  C64Region screen1{0, 0};
  C64Region screen2{0, 0};
  // The slot of the mix of colour a in field 1 and b in field 2, -1 where the
  // flicker reduction removed it; without interlace the slot of a.
  std::array<std::array<std::int16_t, 16>, 16> slotOf{};

  // The offset in the C64 data of the screen byte of the unit holding pixel
  // (x, y) in field 1 or 2.
  int ScreenByteAt(int field, int x, int y) const;

  // The mixes a pixel can show with the screen bytes of its units.
  MixList MixesOf(int screen1Byte, int screen2Byte) const;
};

// What every pixel of the frame can show with the colours chosen for its cell
// or span. A pixel with no mixes listed (left of the mode's first shown
// column, or a unit whose mixes were all removed) is left free.
struct UnitMixes {
  std::vector<std::array<UnitMix, MostMixesPerPixel>> mixes =
      std::vector<std::array<UnitMix, MostMixesPerPixel>>(PixelCount);
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
  UnitColourPlaces places;
};

// Fills `units` with the mixes each pixel can show: without interlace the unit's two colours;
// with interlace the mixes of a colour of the field-1 unit with a colour of
// the field-2 unit at the pixel (only the two base mixes where both fields
// share one bitmap, and under "Same Col Banks" the unit's mix only where the
// search would allow it), leaving out the mixes the flicker reduction removed
// from either table. `ditherTable` is the table the dithering matches with.
void FindUnitMixes(const ChosenColours& chosen, const MixTable& ditherTable,
                   const Settings& settings, const ConversionPlan& plan, UnitMixes& units);

}  // namespace pavona
