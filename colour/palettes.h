#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pavona {

// Entry n is the screen colour (0x00RRGGBB) of C64 colour number n.
using C64Palette = std::array<std::uint32_t, 16>;

enum class PaletteId { Pepto, Deekay, Vice, Ccs64, Frodo };

const C64Palette& PaletteColours(PaletteId palette);
std::string_view PaletteName(PaletteId palette);  // the caption, "Pepto" etc.

}  // namespace pavona
