#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pavona {

// Entry n is the screen colour (0x00RRGGBB) of C64 colour number n.
using C64Palette = std::array<std::uint32_t, 16>;

// The built-in palettes, and Custom: colours loaded from a palette file, which
// the settings carry beside the id.
enum class PaletteId { Pepto, Deekay, Vice, Ccs64, Frodo, Colodore, Custom };

// The colours of a built-in palette (Custom has none of its own and gives
// Pepto's; the settings say which colours it stands for).
const C64Palette& PaletteColours(PaletteId palette);
std::string_view PaletteName(PaletteId palette);  // the caption, "Pepto" etc.

}  // namespace pavona
