#pragma once

#include <string>

#include "cli/cli_options.h"

namespace pavona::cli {

// Looks at every file the whole run would write before anything is converted.
// Returns an empty string when the run may go ahead, otherwise a usage error
// naming both files: an output that is one of the inputs or the palette file
// (the same file by device and inode, or by normalised path where it does not
// exist yet), two outputs that are one file (two options naming it, or two
// --out-dir inputs with the same base name), or an existing output that is
// not a regular file (a folder, named pipe, device or symbolic link). Last, a
// folder of --out-dir that does not exist, is no folder or cannot be written
// into.
std::string CheckOutputPaths(const CliOptions& options);

}  // namespace pavona::cli
