#pragma once

#include <string_view>

#include "c64/output_kind.h"
#include "colour/graphic_mode.h"
#include "plan/settings.h"
#include "select/colour_search.h"

namespace pavona {

// How the mix table is made before dithering. It is always rebuilt from the
// palette first; the single-bank searches and the modes without interlace use
// the whole table.
struct MixTablePlan {
  bool reduceFlicker = false;  // take out the mixes of the "Flicker col reduction" level
  bool reduceForLuma = false;  // and those of "'Y' Brightness" matching's own table
  // The four-colour search puts the flicker level back in force after the
  // dither: "Off" rebuilds the table (undoing the luma reduction), a level
  // reduces it once more.
  bool reapplyFlickerBeforeSearch = false;
  friend bool operator==(const MixTablePlan&, const MixTablePlan&) = default;
};

// The steps that rearrange the interlace fields inside C64Data after the
// search, in the order they run.
struct FieldPlan {
  // The two-colour FLI interlace search leaves a picture; the FLI regions are
  // filled from it with one bitmap that both fields share.
  bool buildSharedBitmap = false;
  bool alternateRowsHires = false;
  bool alternatePixelColumnsHires = false;
  bool alternateRowsFli = false;
  bool alternateCellColumnsFli = false;
  bool alternatePixelColumnsFli = false;
  // With one shared bitmap only the screens may be exchanged, or the bitmap
  // would no longer be one.
  bool exchangeBitmaps = false;
  friend bool operator==(const FieldPlan&, const FieldPlan&) = default;
};

// How the two fields of a cell or span combine into what a pixel shows.
enum class FieldCombination {
  OneField,       // no interlace: the unit's 1-colour or 0-colour
  CrossedFields,  // own bitmaps per field: any colour of field 1 with any of field 2
  SharedBitmap,   // one bitmap: both 1-colours, or both 0-colours
  SharedScreens,  // one screen byte c1, c2 for both fields: c1, c2 or their mix
};

// Which option controls of the main window apply, and so are enabled. The
// rest of the window is always enabled.
struct EnabledControls {
  bool sameBanks = false;      // "Same Col Banks"
  bool flickerLevels = false;  // "Flicker col reduction"
  bool fourColours = false;    // "4 cols per 8x1"
  bool alternateY = false;     // "Alternate Y"
  bool alternateX = false;     // "Alternate X"
  bool alternateX8 = false;    // "Alternate X8"
  bool fieldPreviews = false;  // "Field Separate", "Interlaced Preview"
  bool refine = false;         // "Refine"
  friend bool operator==(const EnabledControls&, const EnabledControls&) = default;
};

// The option controls that apply in some modes and settings only.
enum class OptionControl {
  SameBanks,
  FlickerLevels,
  FourColours,
  AlternateY,
  AlternateX,
  AlternateX8,
  FieldPreviews,
  Refine,
};

// Why `control` does not apply with `settings`, in a sentence for the
// control's tooltip; empty when it applies. The plan's EnabledControls are
// made from these, so the two always agree.
std::string_view WhyNotApplicable(const Settings& settings, OptionControl control);

// Everything that the settings decide about a conversion, in one place: the
// run, the command line and the main window read it and decide nothing again.
struct ConversionPlan {
  ColourSearch search = ColourSearch::FliFourColours;
  // The FLI viewers cover columns 0..23 with a black sprite column, so the FLI
  // modes leave them at mix colour 0.
  int firstColumn = 0;
  // The part of the frame the program file shows: the FLI viewers show
  // neither the first three cell columns nor the last three pixel rows, and
  // the viewer of interlaced fields with colours of their own covers the
  // first three columns with its sprites. Fit and Fill place the picture
  // into it, and the result can be shown as the C64 shows it.
  FrameArea shown;
  // "Refine" is on and applies in the mode.
  bool refine = false;
  FieldCombination fieldCombination = FieldCombination::CrossedFields;
  MixTablePlan mixTable;
  FieldPlan fields;
  OutputKind output;  // the layout of the raw, program and picture files
  // The two interlace fields differ, so each is a picture of its own: the
  // field PNG files and the field previews exist only then.
  bool fieldPictures = false;
  EnabledControls controls;
  friend bool operator==(const ConversionPlan&, const ConversionPlan&) = default;
};

ConversionPlan PlanConversion(const Settings& settings);

}  // namespace pavona
