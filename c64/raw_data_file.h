#pragma once

#include <cstdint>
#include <vector>

#include "c64/c64_data.h"
#include "c64/output_kind.h"

namespace pavona {

// The raw C64 data file: the picture's slices of C64Data one after another,
// with no header, for other C64 tools. 9216 to 32768 bytes.
std::vector<std::uint8_t> RawDataBytes(const C64Data& data, OutputKind kind);

}  // namespace pavona
