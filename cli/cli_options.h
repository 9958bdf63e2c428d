#pragma once

#include <optional>
#include <string>
#include <vector>

#include "framing/placement.h"
#include "plan/settings.h"

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
  std::string framePng;  // the placed source frame, before the colour adjustment
  // --shown-only: the result PNG black where the program file shows nothing.
  bool shownOnly = false;
};

struct CliOptions {
  std::vector<std::string> inputs;
  bool testPicture = false;
  // The top-left corner of the 320 x 200 frame in the picture: the cut-out's
  // position for FitMode::Cutout, otherwise in frame pixels of the scaled
  // picture (where not given, a scaled picture is centred).
  int offsetX = 0;
  int offsetY = 0;
  bool offsetGiven = false;
  FitMode fit = FitMode::Cutout;
  int scalePercent = 0;  // 0: the scale of fit or fill
  PixelAspect aspect = PixelAspect::Pal;
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
                             const Settings& settings);

}  // namespace pavona::cli
