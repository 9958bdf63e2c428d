#pragma once

// Pictures for the selection tests and benchmarks: the photo frames reduced
// to a mix table by plain nearest-colour matching, and adversarial pictures
// built span by span.

#include <random>
#include <string>

#include "colour/colour_match.h"
#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "support/ppm_frame.h"

namespace pavona::testing {

inline MixTable MixTableOf(const C64Palette& palette, MixMethod method, GraphicMode mode,
                           FlickerLevel flicker = FlickerLevel::Off)
{
  MixTable table;
  BuildMixPalette(table, palette, method, mode);
  ReduceFlicker(table, flicker);
  return table;
}

inline MixTable PeptoTable(GraphicMode mode, FlickerLevel flicker = FlickerLevel::Off)
{
  return MixTableOf(PaletteColours(PaletteId::Pepto), MixMethod::Rgb, mode, flicker);
}

// A photo frame matched pixel by pixel onto the table, the 24 leftmost
// columns filled with mix 0 as the conversion run leaves them in FLI modes.
inline Picture MatchedFrame(const std::string& name, const MixTable& table, Measure measure,
                            GraphicMode mode)
{
  const Picture frame = ReadPpmFrame(name);
  Picture matched;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const int i = PixelIndex(x, y);
      matched[i] = x < 24 ? table.colour[0] : MatchColour(frame[i], table, measure, mode);
    }
  }
  return matched;
}

// Spans drawn from few colours so that repeats and ties are common: each span
// picks 1 to 4 colours from `choices` (slots of the table, or any values) and
// fills its 8 pixels from them at random.
inline Picture FewColourSpans(const std::vector<std::uint32_t>& choices, unsigned seed)
{
  std::mt19937 random(seed);
  Picture picture;
  for (int n = 0; n < PixelCount / 8; ++n) {
    const int colours = 1 + int(random() % 4);
    std::uint32_t palette[4];
    for (int c = 0; c < colours; ++c) {
      palette[c] = choices[random() % choices.size()];
    }
    for (int k = 0; k < 8; ++k) {
      picture[n * 8 + k] = palette[random() % colours];
    }
  }
  return picture;
}

inline std::vector<std::uint32_t> TableColours(const MixTable& table, int count)
{
  return {table.colour.begin(), table.colour.begin() + count};
}

}  // namespace pavona::testing
