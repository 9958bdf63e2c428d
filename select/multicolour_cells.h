#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "c64/c64_data.h"
#include "colour/colour_match.h"
#include "colour/mix_table.h"
#include "colour/picture.h"
#include "colour/progress.h"

namespace pavona {

// A multicolour pixel is two hires pixels wide: 160 across, four to a cell row.
constexpr int McWidth = PictureWidth / 2;
constexpr int McCellWidth = 4;

// The error of showing palette colour `shown` for a pixel of palette colour
// `pixel` (both 0..15), by the measure the cell searches use.
using ColourErrors = std::array<std::uint32_t, 16>;
using PaletteDistances = std::array<ColourErrors, 16>;
PaletteDistances MeasurePaletteDistances(const MixTable& table, Measure measure);

// The bit pair (0..3) of the source colour with the least error for a pixel
// whose error for each palette colour is `errors`; ties go to the lowest.
int NearestSource(const std::array<std::uint8_t, 4>& sources, const ColourErrors& errors);

// Two screen colours high < low and the total error of the pixels they serve.
struct McPair {
  std::uint8_t high = 0;
  std::uint8_t low = 0;
  std::uint32_t error = 0;
};

// The two screen colours that, beside colours whose least error for pixel k
// is base[k], show the pixels with the least total error, each pixel by the
// nearest colour. pixels[k] holds pixel k's error for every palette colour.
// Pairs are tried in the order (0, 1), (0, 2), ..., (14, 15); the first of
// least error wins. The total must fit in 32 bits.
McPair LeastErrorPair(std::span<const ColourErrors* const> pixels,
                      std::span<const std::uint32_t> base);

// The palette number (0..15) of every multicolour pixel of a picture
// dithered onto the pure colours (table slots 0..15), read from its left
// hires pixel, 160 x 200 row by row. A duplicate palette colour counts as its
// lowest number; a colour that is none of them is reported to `progress` and
// taken as the nearest.
std::vector<std::uint8_t> McPaletteNumbers(const Picture& dithered, const MixTable& table,
                                           ProgressReport& progress);

// Sets the bit pair of multicolour pixel `pixel` (0..3) of cell (cx, cy), row
// `row`, in the bitmap region, and shows the colour in both of its hires
// pixels.
void SetMcPixel(C64Data& data, C64Region bitmap, int cx, int cy, int row, int pixel, int bits);
void ShowMcPixel(Picture& result, int mcX, int y, std::uint32_t colour);

}  // namespace pavona
