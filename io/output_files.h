#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "c64/c64_files.h"
#include "core/workspace.h"

namespace pavona {

// Every file that a conversion's results are written as, by the command line
// and by the window's saves and exports alike.
enum class OutputFile {
  Raw,               // the C64 data without a header
  Program,           // the C64 data behind a viewer
  Scene,             // the editor file of the converted mode
  ResultPng,         // what the C64 shows
  ResultPngAsShown,  // the same, black where the program file shows nothing
  DitheredPng,       // the dithered picture before the C64's colour limits
  Field1Png,         // the two interlace fields, decoded from the C64 data
  Field2Png,
  FramePng,  // the source frame as placed, before the colour adjustment
};

OutputFile OutputFileOf(C64File file);

struct [[nodiscard]] OutputBytes {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty when the bytes are there
  bool Ok() const { return error.empty(); }
};

// The bytes of one output file. The C64 files and the fields follow the
// conversion that filled the C64 data (its mode's layout, and the colours it
// ran with), not whatever settings a window shows now; every file but the
// frame needs a finished conversion. It only reads the workspace and keeps
// no state between calls (each PNG file has its own encoder), so several
// threads may make files of one workspace at once.
OutputBytes OutputFileBytes(OutputFile file, const Workspace& workspace);

}  // namespace pavona
