#pragma once

#include <cstddef>
#include <cstdint>

#include "colour/picture.h"

namespace pavona {

// The Exif orientation of a photo: how the stored rows must be turned or
// mirrored to stand upright. 1 is upright; 5 to 8 swap width and height.
enum class ExifOrientation {
  Upright = 1,
  Mirrored = 2,            // mirrored left to right
  UpsideDown = 3,          // turned half a turn
  MirroredUpsideDown = 4,  // mirrored top to bottom
  Transposed = 5,          // rows stored as columns, top row on the left
  TurnedLeft = 6,          // stored turned a quarter turn left: shown turned right
  Transversed = 7,         // rows stored as columns, top row on the right, mirrored
  TurnedRight = 8,         // stored turned a quarter turn right: shown turned left
};

// The orientation given by a JPEG APP1 block (starting "Exif\0\0"); Upright
// when the block holds none or a value outside 1..8, as viewers treat it.
ExifOrientation OrientationOfExifBlock(const std::uint8_t* block, std::size_t length);

bool SwapsSides(ExifOrientation orientation);

// Turns and mirrors the stored picture upright; fileWidth and fileHeight
// are swapped with the sides where the orientation swaps them.
void TurnUpright(LoadedPicture& picture, ExifOrientation orientation);

}  // namespace pavona
