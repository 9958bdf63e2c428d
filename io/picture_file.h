#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "colour/picture.h"
#include "core/placement.h"

namespace pavona {

// What a file holds, told by its first bytes, whatever its name says.
enum class PictureFileKind { Unknown, Jpeg, Bitmap, Png };

// FF D8 FF starts every JPEG file (the marker after it may be JFIF, Exif or
// another), "BM" a Windows bitmap, and PNG files have an 8-byte signature.
PictureFileKind PictureFileKindOf(std::span<const std::uint8_t> firstBytes);

// The largest pictures that are loaded: the loaded picture alone takes four
// bytes a pixel, 400 MB at the pixel limit.
inline constexpr int MaxPictureSide = 16384;
inline constexpr long long MaxPicturePixels = 100'000'000;

struct [[nodiscard]] PictureFileResult {
  LoadedPicture picture;  // at its own size, 0x00RRGGBB; empty when reading failed
  std::string error;      // empty when the picture was read
  bool Ok() const { return error.empty(); }
};

// Reads a JPEG, Windows bitmap or PNG file. On failure the error names the
// file and the reason, ready to show to the user ("cannot read photo.gif:
// not a JPEG, bitmap or PNG file"). Needs no display and no Qt application
// object. A JPEG file that ends before its picture is complete is refused
// rather than shown with a grey lower part; transparent PNG pixels are shown
// over black.
PictureFileResult ReadPictureFile(const std::string& path);

// Given the upright size of the picture in the file, the smallest size it may
// be decoded at (as NeededDecodeSize gives for a placement).
using DecodeSizeNeeded = std::function<PictureSize(int fileWidth, int fileHeight)>;

// As above, but a JPEG file may be decoded at a reduced size, at least as
// large as `needed` asks and keeping its shape, which is several times faster
// for a large photo shown scaled down; the picture's fileWidth and fileHeight
// then keep its size in the file. Other files are read whole.
PictureFileResult ReadPictureFile(const std::string& path, const DecodeSizeNeeded& needed);

}  // namespace pavona
