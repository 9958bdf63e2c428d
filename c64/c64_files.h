#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "c64/c64_data.h"
#include "c64/output_kind.h"

namespace pavona {

// The files that hold a converted picture's C64 data, told apart by the
// extension of their name.
enum class C64File {
  Raw,      // .raw, the data without a header
  Program,  // .prg, the data behind a viewer
  Scene,    // the editor format of the mode: .art, .hle, .afl or .eci
};

// The file that a name with this extension holds in this mode, or nothing when
// it does not fit the mode. The extension is compared without regard to case.
std::optional<C64File> C64FileFor(std::string_view extension, GraphicMode mode);

// The extensions that fit a mode, the scene format's first: ".eci, .prg, .raw".
std::string C64FileExtensions(GraphicMode mode);

std::vector<std::uint8_t> C64FileBytes(C64File file, const C64Data& data, OutputKind kind);

}  // namespace pavona
