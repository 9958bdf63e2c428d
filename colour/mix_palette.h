#pragma once

#include <array>
#include <cstdint>

#include "colour/graphic_mode.h"
#include "colour/mix_table.h"
#include "colour/palettes.h"

namespace pavona {

enum class MixMethod { Rgb, Yuv };

// Rebuilds all 136 mix slots from the palette. In the two modes without
// interlace the table is compacted: slots 0..15 take the 16 pure colours in
// colour-number order and slots 16..135 repeat slot 0.
void BuildMixPalette(MixTable& table, const C64Palette& palette, MixMethod method,
                     GraphicMode mode);

// The mix of two colours by one method, before any compaction.
std::uint32_t MixColours(std::uint32_t a, std::uint32_t b, MixMethod method);

// The swatches of the "Mix palette" box: 16 cells of 19 x 6 pixels per row,
// 9 rows, all 144 slots (the last 8 cells are the unused black slots).
constexpr int MixImageWidth = 304;
constexpr int MixImageHeight = 54;
using MixTableImage = std::array<std::uint32_t, MixImageWidth * MixImageHeight>;  // 0x00RRGGBB

MixTableImage DrawMixPalette(const MixTable& table);

}  // namespace pavona
