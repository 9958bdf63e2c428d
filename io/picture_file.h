#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "colour/picture.h"

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

// How a read reduced the picture while decoding it. Two reads of one file give
// the same pixels exactly when they reduce it the same way, so a window that
// holds a picture read for one placement can tell whether another placement
// needs the file read again to match what a fresh read would give.
struct DecodeReduction {
  enum class Kind {
    Never,        // a bitmap or an interlaced PNG: always read whole
    JpegEighths,  // libjpeg's n/8 sizes; `step` is n, 8 for the whole picture
    PngBoxes,     // whole-factor box reduction; `step` is the box side, 1 for whole
  };
  Kind kind = Kind::Never;
  int step = 1;
  friend bool operator==(const DecodeReduction&, const DecodeReduction&) = default;
};

struct [[nodiscard]] PictureFileResult {
  LoadedPicture picture;  // at its own size, 0x00RRGGBB; empty when reading failed
  std::string error;      // empty when the picture was read
  // Damage that was tolerated in a picture that was read ("Corrupt JPEG data:
  // 3 extraneous bytes before marker 0xd9"), for the program to show or not.
  std::vector<std::string> warnings;
  DecodeReduction reduction;  // how the picture was reduced while it was read
  bool Ok() const { return error.empty(); }
};

// Reads a JPEG, Windows bitmap or PNG file. On failure the error names the
// file and the reason, ready to show to the user ("cannot read photo.gif:
// not a JPEG, bitmap or PNG file"). Needs no display and no Qt application
// object. Only regular files are read: a named pipe, folder or device is
// refused without waiting. A file that ends before its picture is complete,
// or a JPEG whose scans are cut short or leave components out, is refused
// rather than shown with grey parts, and so is a file that declares a
// picture needing far more memory than its size can explain (see
// CheckPictureMemory); transparent PNG pixels are shown over black.
PictureFileResult ReadPictureFile(const std::string& path);

// Given the upright size of the picture in the file, the smallest size it may
// be decoded at (as NeededDecodeSize gives for a placement).
using DecodeSizeNeeded = std::function<PictureSize(int fileWidth, int fileHeight)>;

// As above, but a JPEG file may be decoded at a reduced size, at least as
// large as `needed` asks and keeping its shape, which is several times faster
// for a large photo shown scaled down; the picture's fileWidth and fileHeight
// then keep its size in the file. A PNG file stored without interlacing may
// likewise be reduced by a whole factor while it is read, each pixel the
// average of a block in linear light, keeping FilterShare pixels for each one
// `needed` asks for (core/box_reduction.h). Bitmaps are read whole.
PictureFileResult ReadPictureFile(const std::string& path, const DecodeSizeNeeded& needed);

// The reduction a read of a file of this kind, with this upright size, would
// make for `needed` (no `needed`: none); compared with `reduction` of an
// earlier read, it tells whether that read's pixels are what this one would
// give.
DecodeReduction ReductionFor(DecodeReduction::Kind kind, int fileWidth, int fileHeight,
                             const DecodeSizeNeeded& needed);

}  // namespace pavona
