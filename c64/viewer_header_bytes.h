#pragma once

#include <array>
#include <cstdint>

// The assembled viewer programs, generated at build time from
// c64/viewers/*.asm by cmake/EmbedViewerHeaders.cmake. Each begins with the
// load address $0800 and covers $0800..$08ff (258 bytes) or $0800..$0aff
// (770 bytes); the picture data follows it.
namespace pavona::viewer_bytes {

constexpr int ShortHeaderSize = 258;
constexpr int LongHeaderSize = 770;

extern const std::array<std::uint8_t, ShortHeaderSize> HiresViewer;
extern const std::array<std::uint8_t, ShortHeaderSize> HiresFlipViewer;
extern const std::array<std::uint8_t, LongHeaderSize> HiresLineViewer;
extern const std::array<std::uint8_t, LongHeaderSize> FliViewer;
extern const std::array<std::uint8_t, LongHeaderSize> FliInterlaceViewer;
extern const std::array<std::uint8_t, ShortHeaderSize> McViewer;
extern const std::array<std::uint8_t, LongHeaderSize> McFliViewer;
extern const std::array<std::uint8_t, ShortHeaderSize> McInterlaceViewer;

}  // namespace pavona::viewer_bytes
