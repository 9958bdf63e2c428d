#pragma once

#include <functional>
#include <ostream>

#include "cli/cli_options.h"
#include "colour/progress.h"
#include "io/output_files.h"

namespace pavona::cli {

// Converts every input with one workspace (so random dithering continues its
// sequence from one picture to the next, as in the GUI) and writes the
// requested files. Returns the exit status: 0 when everything was converted
// and written, 1 when an input or an output failed; the other inputs of the
// batch are still converted. A palette file that cannot be read stops the
// batch before anything is converted, also with 1. A conversion that the
// progress stops ends the batch at once with status 1: nothing of it is
// written or reported as done.
//
// Each file's bytes are made by `makeOutput` only when the file is asked for;
// a test may pass its own to see what is made. The files of one input are
// made and written two at a time, so `makeOutput` may be called from two
// threads at once with the same workspace and must be safe for that (as
// OutputFileBytes is); the lines that report them keep the order of one thread.
using OutputMaker = std::function<OutputBytes(OutputFile, const Workspace&)>;
int RunBatch(const CliOptions& options, std::ostream& out, std::ostream& errors,
             ProgressReport& progress, const OutputMaker& makeOutput = OutputFileBytes);

}  // namespace pavona::cli
