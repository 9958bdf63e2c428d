#pragma once

#include "colour/colour_adjustment.h"
#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/graphic_mode.h"
#include "colour/mix_palette.h"
#include "colour/palettes.h"
#include "dither/dither_settings.h"

namespace pavona {

// Every setting of the main window as one plain value. The GUI fills it from
// its controls when an operation starts; the command line from its options.
// The defaults are the main window's start values.
struct Settings {
  GraphicMode mode = GraphicMode::HiresFliInterlace;
  PaletteId palette = PaletteId::Pepto;
  C64Palette customPalette{};  // the colours of PaletteId::Custom, from a palette file
  MixMethod mix = MixMethod::Rgb;
  Measure measure = Measure::Perceptual;
  FlickerLevel flicker = FlickerLevel::Medium;
  DitherSettings dither;
  bool fourColours = true;       // "4 cols per 8x1"
  bool sameBanks = false;        // "Same Col Banks"
  bool extraBruteForce = false;  // "Extra Brute Force"
  bool alternateY = true;
  bool alternateX = false;
  bool alternateX8 = false;
  // "Refine": after the selection, place the pixels and choose the unit
  // colours again as the eye sees them (off keeps the conversion exactly as
  // it was).
  bool refine = false;
  // "Map colours into reach": before the dither, colours beyond what the
  // palette's mixes can show give up chroma, keeping lightness and hue, so
  // they do not go dark and flat (off keeps the conversion exactly as it was).
  bool mapIntoReach = false;
  ColourAdjustment adjustment;
  friend bool operator==(const Settings&, const Settings&) = default;
};

// The colours a conversion with these settings works with.
inline const C64Palette& PaletteOf(const Settings& settings)
{
  return settings.palette == PaletteId::Custom ? settings.customPalette
                                               : PaletteColours(settings.palette);
}

}  // namespace pavona
