#pragma once

#include <cstdint>
#include <vector>

#include "colour/picture.h"

namespace pavona {

// The frame as a 320 x 200 RGB PNG file's bytes. Throws std::runtime_error
// when libpng refuses (it only does when memory runs out).
std::vector<std::uint8_t> EncodePng(const Picture& picture);

}  // namespace pavona
