#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "c64/c64_data.h"
#include "c64/output_kind.h"

namespace pavona {

// The eight 6502 viewer programs that open a C64 program file.
enum class ViewerHeader {
  HiresViewer,                 // "Hires Standard"
  HiresFlipViewer,             // "Hires Interlaced" with "Same Col Banks"
  HiresLineViewer,             // "Hires Interlaced" without "Same Col Banks"
  FliViewer,                   // "Hires FLI"
  FliInterlaceViewer,          // "Hires FLI Interlace"
  MulticolourViewer,           // "Multicolour"
  MulticolourFliViewer,        // "Multicolour FLI"
  MulticolourInterlaceViewer,  // "Multicolour Interlace"
};

ViewerHeader ViewerFor(OutputKind kind);

// The viewer as assembled, load address first, the shared-bitmap byte of
// FliInterlaceViewer 0.
std::span<const std::uint8_t> ViewerHeaderBytes(ViewerHeader viewer);

// File offset of FliInterlaceViewer's shared-bitmap byte ($0821 in C64
// memory): 1 when the file holds the field's banks and one shared bitmap.
constexpr int SharedBitmapByteOffset = 2 + 0x0821 - 0x0800;

// The C64 program file: the viewer, then the picture data exactly as the raw
// file holds it. Loaded with ",8,1" and started with RUN on a PAL C64, it
// shows the picture until the machine is reset.
std::vector<std::uint8_t> C64ProgramBytes(const C64Data& data, OutputKind kind);

}  // namespace pavona
