#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "colour/palettes.h"

namespace pavona {

struct [[nodiscard]] PaletteFileResult {
  C64Palette colours{};  // colour n on the n-th colour line
  std::string error;     // empty when the palette was read
  bool Ok() const { return error.empty(); }
};

// A palette file as the VICE emulator writes it (.vpl): one line per C64
// colour, 0 to 15, of three hexadecimal bytes red, green and blue, optionally
// followed by a fourth number (VICE's dither value, not used here). `#` starts
// a comment; blank lines do not count. Exactly 16 colour lines.
// On failure the error names the file as given, the line and what is wrong
// ("cannot read pal/dark.vpl: line 4: 1A0 is more than FF"). Only regular
// files are read, without waiting on a named pipe, and at most
// MaxPaletteFileBytes of them: no real palette file comes near that.
PaletteFileResult ReadPaletteFile(const std::string& path);

inline constexpr std::size_t MaxPaletteFileBytes = 64 * 1024;

// The same for text already read; fileName is only used in errors.
PaletteFileResult ParsePaletteText(std::string_view text, const std::string& fileName);

}  // namespace pavona
