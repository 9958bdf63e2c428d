#pragma once

#include <cstdint>
#include <vector>

#include "c64/c64_data.h"
#include "c64/output_kind.h"

namespace pavona {

// The raw C64 data file, with no header, for other C64 tools: in the hires
// modes the picture's slices of C64Data one after another (9216 to 32768
// bytes), in the multicolour modes the editor file without its load address.
std::vector<std::uint8_t> RawDataBytes(const C64Data& data, OutputKind kind);

}  // namespace pavona
