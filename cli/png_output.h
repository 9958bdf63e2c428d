#pragma once

#include <cstdint>
#include <vector>

#include "colour/picture.h"

namespace pavona::cli {

// The frame as a 320 x 200 RGB PNG file's bytes.
std::vector<std::uint8_t> EncodePng(const Picture& picture);

}  // namespace pavona::cli
