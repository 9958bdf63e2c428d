#pragma once

#include <cstdint>
#include <string>

// The structure of a PNG file, checked before any decoder sees it: a damaged
// or hostile file can declare chunks far longer than itself, which a decoder
// would make room for before finding out that the bytes are not there.
namespace pavona {

inline constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// What the IHDR chunk declares.
struct PngHeader {
  long long width = 0;
  long long height = 0;
  int bitDepth = 0;  // bits per channel
};

// Walks the chunks of the PNG file open as `descriptor` (`fileSize` bytes)
// without reading their data. Empty when every chunk fits in the file, the
// first is a header, some picture data follows and the end chunk is there;
// otherwise the reason (without the file name). Fills `header`.
std::string CheckPngChunks(int descriptor, std::uint64_t fileSize, PngHeader& header);

// The memory the decoder holds besides the loaded picture: the whole image as
// red, green, blue and opacity at the file's channel depth (8 or 16 bits).
long long PngDecoderBytes(const PngHeader& header);

}  // namespace pavona
