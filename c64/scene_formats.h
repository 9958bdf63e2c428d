#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "c64/c64_data.h"
#include "c64/output_kind.h"

namespace pavona {

// The file formats of the C64 picture editors that work in our modes.
// Each file starts with its two-byte load address, low byte first, and holds
// the picture as the editor keeps it in C64 memory from there on.
enum class SceneFormat {
  ArtStudio,         // "Hires Standard"
  HireslaceEditor,   // "Hires Interlaced"
  AfliEditor,        // "Hires FLI"
  EciGraphicEditor,  // "Hires FLI Interlace"
  KoalaPainter,      // "Multicolour"
  FliGraph,          // "Multicolour FLI"
  TruePaint,         // "Multicolour Interlace"
};

struct SceneFormatInfo {
  std::string_view name;       // "Art Studio"
  std::string_view extension;  // ".art", with the dot, lower case
  int fileSize;                // bytes, load address included
  int loadAddress;
};

SceneFormat SceneFormatOf(GraphicMode mode);
inline SceneFormat SceneFormatOf(OutputKind kind)
{
  return SceneFormatOf(kind.mode);
}
const SceneFormatInfo& SceneFormatInfoOf(SceneFormat format);

// The whole file of the converted picture in the format of its mode: field 1
// is the field the raw file holds first (the one the viewer shows first), and
// a picture with one shared bitmap has it written for both fields.
std::vector<std::uint8_t> SceneFileBytes(const C64Data& data, OutputKind kind);

}  // namespace pavona
