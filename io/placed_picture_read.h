#pragma once

#include <string>

#include "framing/placement.h"
#include "io/picture_file.h"

namespace pavona {

// Reads a picture file for a placement, the same way in every front end, so
// that one file and one placement always give one frame: whole for a
// cut-out, which shows every pixel; otherwise reduced while it is read as far
// as the placement's scale allows, which makes a large photo several times
// faster to open.
PictureFileResult ReadPictureForPlacement(const std::string& path, const Placement& placement);

// True when `picture`, read with `reduction` for an earlier placement, holds
// exactly the pixels that ReadPictureForPlacement would give for `placement`.
// Otherwise the file must be read again: zoomed in, it would be too coarse;
// zoomed out or fitted after a whole read, the frame would differ from one
// placed straight from the file.
bool ReadServesPlacement(const LoadedPicture& picture, const DecodeReduction& reduction,
                         const Placement& placement);

}  // namespace pavona
