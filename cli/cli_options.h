#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"

namespace pavona::cli {

// Where one conversion's results go. Empty names are not written.
struct OutputFiles {
  std::string raw;
  std::string prg;
  std::string resultPng;
  std::string ditheredPng;
  std::string field1Png;
  std::string field2Png;
  // --save: raw, program or editor files, each by the extension of its name.
  std::vector<std::string> saves;
};

struct CliOptions {
  std::vector<std::string> inputs;
  bool testPicture = false;
  int offsetX = 0;  // top-left corner of the 320 x 200 cut-out in the picture
  int offsetY = 0;
  Settings settings;
  std::string paletteFile;  // a VICE palette file that replaces --palette
  OutputFiles outputs;
  std::string outDir;
  bool quiet = false;
};

// What parsing decided: the options to run with, or an exit code with the text
// to print (the help on stdout with code 0, a usage error on stderr with 2).
struct ParseOutcome {
  std::optional<CliOptions> options;
  int exitCode = 0;
  std::string message;
};

ParseOutcome ParseCommandLine(int argc, const char* const* argv);

// The files written for one input of an --out-dir batch: NAME.raw, NAME.prg,
// the editor file of the mode (NAME.art, NAME.hle, NAME.afl or NAME.eci),
// NAME.png (the result), NAME-dithered.png and, in the interlaced modes,
// NAME-field1.png and NAME-field2.png.
OutputFiles BatchOutputFiles(const std::string& outDir, const std::string& inputPath,
                             GraphicMode mode);

}  // namespace pavona::cli
