#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "colour/picture.h"

namespace pavona {

struct [[nodiscard]] PngBytesResult {
  std::vector<std::uint8_t> bytes;  // the whole file; empty when encoding failed
  std::string error;                // empty when the bytes are there
  bool Ok() const { return error.empty(); }
};

// The frame as a 320 x 200 RGB PNG file's bytes. libpng refuses only when
// memory runs out; the error then says so.
PngBytesResult EncodePng(const Picture& picture);

}  // namespace pavona
