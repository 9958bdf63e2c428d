#pragma once

#include <optional>
#include <string>

#include "colour/progress.h"
#include "core/workspace.h"
#include "plan/settings.h"

namespace pavona {

struct ConversionOutcome {
  // The progress said stop before the run ended: the workspace still holds
  // the previous conversion, and the counts below mean nothing.
  bool stopped = false;
  int changedPixels = 0;  // pixels the C64's colour limits changed
  int errorPercent = 0;   // changedPixels as a whole percentage of the frame, rounded down
  // How close the result looks to the adjusted photo (BlurredPsnr), in dB:
  // the figure that says whether a setting made the picture better. Empty
  // when the run was asked not to measure it.
  std::optional<double> closenessDb;
  double seconds = 0;  // how long the run took
};

// Converts workspace.source (the frame as shown) with the given settings, as
// PlanConversion plans it: builds and reduces the mix table, adjusts and
// dithers the picture, runs the colour selection and fills the C64 data in
// the mode's layout, including the interlace alternation. Records the
// settings it ran with in workspace.converted, for saving and previewing.
//
// The run works apart from the workspace and puts its pictures, tables, C64
// data and random dither state there only once it has finished, so a run
// that progress.ShouldContinue() stops leaves the workspace as it was. A run
// whose progress can never stop (MayStop() false) has nothing to keep and
// works in the workspace itself, to the same bytes.
//
// The closeness figure costs a copy of the photo and a blur of two pictures;
// a caller that shows no figures skips it. Nothing else of the run changes.
enum class Closeness { Measure, Skip };
ConversionOutcome ConvertRun(Workspace& workspace, const Settings& settings,
                             ProgressReport& progress, Closeness closeness = Closeness::Measure);

// A run in a workspace of its own, apart from the one a window shows and
// keeps changing while the run goes: ConvertRun reads from a workspace only
// what CopyRunInputs copies (the frame, the planes' carried-over tails and the
// random state), and CopyRunResults puts back all a finished run committed.
// Converting in `run` between the two gives the same bytes as converting in
// `shown` itself.
void CopyRunInputs(const Workspace& shown, Workspace& run);
void CopyRunResults(const Workspace& run, Workspace& shown);

ConversionOutcome CountErrorPixels(const Picture& result, const Picture& dithered);

// The figures for people of a run that measured its closeness: "27.31 dB
// close to the photo (blurred PSNR, higher is closer), 10% of the pixels
// changed from the dither (6732)".
std::string OutcomeFigures(const ConversionOutcome& outcome);

}  // namespace pavona
