#include "cli/cli_batch.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <thread>

#include "c64/c64_files.h"
#include "c64/file_writer.h"
#include "cli/stderr_progress.h"
#include "cli/two_at_a_time.h"
#include "core/convert_run.h"
#include "core/test_picture.h"
#include "framing/placement.h"
#include "framing/source_frame.h"
#include "io/output_files.h"
#include "io/palette_file.h"
#include "io/picture_file.h"
#include "io/placed_picture_read.h"
#include "io/printable_text.h"
#include "plan/conversion_plan.h"

namespace pavona::cli {
namespace {

std::string FileName(const std::string& path)
{
  return std::filesystem::path(path).filename().string();
}

std::string SizeText(int width, int height)
{
  return std::to_string(width) + " x " + std::to_string(height);
}

// The pan of one axis of a scaled picture from --offset: where the picture is
// at least as long as the frame, the offset within it; where it is shorter it
// stays centred, and only 0 is accepted.
bool PanOfAxis(int offset, const ScrollRange& range, int& pan)
{
  if (range.minimum < 0) {
    pan = range.minimum;
    return offset == 0;
  }
  pan = offset;
  return offset <= range.maximum;
}

// Sets the pans of `placement` from the options, or says why they do not fit.
std::string PanPlacement(const CliOptions& options, const std::string& input,
                         const LoadedPicture& picture, Placement& placement)
{
  const int width = FileWidthOf(picture), height = FileHeightOf(picture);
  const PlacementGeometry geometry = GeometryOfPlacement(placement, width, height);
  const std::string offset =
      std::to_string(options.offsetX) + "," + std::to_string(options.offsetY);
  if (placement.mode == FitMode::Cutout) {
    placement.panX = options.offsetX;
    placement.panY = options.offsetY;
    if (options.offsetX > geometry.panX.maximum || options.offsetY > geometry.panY.maximum) {
      return "cannot cut 320 x 200 at " + offset + " out of " + input + ": it is " +
             SizeText(width, height);
    }
    return {};
  }
  placement.panX = geometry.centredPanX;
  placement.panY = geometry.centredPanY;
  if (!options.offsetGiven) {
    return {};
  }
  if (!PanOfAxis(options.offsetX, geometry.panX, placement.panX) ||
      !PanOfAxis(options.offsetY, geometry.panY, placement.panY)) {
    return "cannot pan to " + offset + " in " + input + ": scaled to " +
           SizeText(geometry.scaledWidth, geometry.scaledHeight) +
           " frame pixels, the offset runs from 0,0 to " +
           std::to_string(std::max(0, geometry.panX.maximum)) + "," +
           std::to_string(std::max(0, geometry.panY.maximum)) +
           " (a side shorter than the frame stays centred)";
  }
  return {};
}

// Fills workspace.source with one input placed in the frame, or says why not.
// Tolerated damage of the file goes to `warnings` unless the run is quiet.
std::string LoadFrame(const std::string& input, const CliOptions& options, Workspace& workspace,
                      std::ostream& warnings)
{
  if (input.empty()) {
    TestPictureFrame(workspace.source);
    return {};
  }
  Placement placement;
  placement.mode = options.fit;
  placement.scalePercent = options.scalePercent;
  placement.aspect = options.aspect;
  placement.area = PlanConversion(options.settings).shown;
  PictureFileResult read = ReadPictureForPlacement(input, placement);
  if (!read.Ok()) {
    return read.error;
  }
  if (!options.quiet) {
    for (const std::string& warning : read.warnings) {
      warnings << PrintableText("warning: " + FileName(input) + ": " + warning) << "\n";
    }
  }
  if (std::string problem = PanPlacement(options, input, read.picture, placement);
      !problem.empty()) {
    return problem;
  }
  workspace.loaded = std::move(read.picture);
  PlacePicture(workspace.loaded, placement, workspace.source);
  return {};
}

// With --frame-png alone the frame is all that is asked for.
bool OnlyTheFrameIsWanted(const CliOptions& options)
{
  const OutputFiles& o = options.outputs;
  return options.outDir.empty() &&
         (o.raw + o.prg + o.resultPng + o.ditheredPng + o.field1Png + o.field2Png).empty() &&
         o.saves.empty();
}

// One file asked for in a run.
struct OutputRequest {
  std::string path;
  OutputFile file = OutputFile::Raw;
  std::string refusal;  // when set, nothing is made and this is the failure
};

// The files of one run in the order they are reported. Nothing is asked for
// a name that is empty.
class OutputRequests {
 public:
  void Ask(const std::string& path, OutputFile file)
  {
    if (path.empty()) {
      return;
    }
    // The command line refuses two outputs in one file before converting
    // (by the files' identities); for callers that did not, the same name
    // twice keeps the files written at once from replacing each other.
    const bool taken = std::any_of(list_.begin(), list_.end(), [&](const OutputRequest& r) {
      return r.refusal.empty() && r.path == path;
    });
    list_.push_back({path, file,
                     taken ? "cannot save " + path + ": another output of the run has that name"
                           : std::string()});
  }

  void Refuse(const std::string& path, const std::string& refusal)
  {
    list_.push_back({path, OutputFile::Raw, refusal});
  }

  const std::vector<OutputRequest>& List() const { return list_; }

 private:
  std::vector<OutputRequest> list_;
};

class OutputWriter {
 public:
  OutputWriter(std::ostream& out, std::ostream& errors, bool quiet, const OutputMaker& makeOutput)
      : out_(out), errors_(errors), quiet_(quiet), makeOutput_(makeOutput)
  {
  }

  // Makes and writes the files two at a time where there is a second core
  // (a PNG file takes over a millisecond to encode, and every file waits for
  // the disk), and reports each in the order of the list: "wrote PATH", or why
  // not. A file that fails does not keep the others from being written.
  void Write(const OutputRequests& requests, const Workspace& workspace)
  {
    const std::vector<OutputRequest>& list = requests.List();
    std::vector<std::string> failures(list.size());
    RunTwoAtATime(
        int(list.size()), int(std::thread::hardware_concurrency()),
        [&](int i) { failures[i] = MakeAndWrite(list[i], workspace); },
        [&](int i) { Report(list[i], failures[i]); });
  }

  void Fail(const std::string& error)
  {
    errors_ << PrintableText(error) << "\n";
    failed_ = true;
  }

  bool Failed() const { return failed_; }

 private:
  // Runs on either thread: touches nothing of the writer but the maker.
  // Returns why the file was not written, or nothing.
  std::string MakeAndWrite(const OutputRequest& request, const Workspace& workspace) const
  {
    if (!request.refusal.empty()) {
      return request.refusal;
    }
    const OutputBytes output = makeOutput_(request.file, workspace);
    if (!output.Ok()) {
      return "cannot save " + request.path + ": " + output.error;
    }
    return WriteFileAtomically(request.path, output.bytes);
  }

  void Report(const OutputRequest& request, const std::string& failure)
  {
    if (!failure.empty()) {
      Fail(failure);
      return;
    }
    if (!quiet_) {
      out_ << PrintableText("wrote " + request.path) << "\n";
    }
  }

  std::ostream& out_;
  std::ostream& errors_;
  bool quiet_;
  const OutputMaker& makeOutput_;
  bool failed_ = false;
};

OutputRequests RequestsOf(const OutputFiles& files, GraphicMode mode)
{
  OutputRequests requests;
  requests.Ask(files.raw, OutputFile::Raw);
  requests.Ask(files.prg, OutputFile::Program);
  for (const std::string& name : files.saves) {
    // The command line checks the extensions before converting; this is for
    // callers that did not.
    const auto file = C64FileFor(std::filesystem::path(name).extension().string(), mode);
    if (!file) {
      requests.Refuse(name, "cannot save " + name + ": use " + C64FileExtensions(mode));
      continue;
    }
    requests.Ask(name, OutputFileOf(*file));
  }
  requests.Ask(files.resultPng,
               files.shownOnly ? OutputFile::ResultPngAsShown : OutputFile::ResultPng);
  requests.Ask(files.ditheredPng, OutputFile::DitheredPng);
  requests.Ask(files.field1Png, OutputFile::Field1Png);
  requests.Ask(files.field2Png, OutputFile::Field2Png);
  return requests;
}

// The settings to convert with: those of the options, with the colours of
// the palette file when one is given.
std::optional<Settings> SettingsToRun(const CliOptions& options, std::ostream& errors)
{
  Settings settings = options.settings;
  if (options.paletteFile.empty()) {
    return settings;
  }
  const PaletteFileResult read = ReadPaletteFile(options.paletteFile);
  if (!read.Ok()) {
    errors << PrintableText(read.error) << "\n";
    return std::nullopt;
  }
  settings.palette = PaletteId::Custom;
  settings.customPalette = read.colours;
  return settings;
}

}  // namespace

int RunBatch(const CliOptions& options, std::ostream& out, std::ostream& errors,
             ProgressReport& progress, const OutputMaker& makeOutput)
{
  const std::optional<Settings> settings = SettingsToRun(options, errors);
  if (!settings) {
    return 1;
  }
  std::vector<std::string> inputs = options.inputs;
  if (options.testPicture) {
    inputs.insert(inputs.begin(), std::string());  // the built-in picture
  }
  auto workspace = std::make_unique<Workspace>();
  OutputWriter writer(out, errors, options.quiet, makeOutput);
  bool inputFailed = false;
  for (const std::string& input : inputs) {
    const std::string name = input.empty() ? std::string("test picture") : FileName(input);
    const std::string problem = LoadFrame(input, options, *workspace, errors);
    if (!problem.empty()) {
      errors << PrintableText(problem) << "\n";
      inputFailed = true;
      continue;
    }
    if (options.outDir.empty()) {
      OutputRequests frame;
      frame.Ask(options.outputs.framePng, OutputFile::FramePng);
      writer.Write(frame, *workspace);
    }
    if (OnlyTheFrameIsWanted(options)) {
      continue;
    }
    // The figures are printed only without --quiet; nothing else needs them.
    const ConversionOutcome outcome = ConvertRun(
        *workspace, *settings, progress, options.quiet ? Closeness::Skip : Closeness::Measure);
    if (auto* line = dynamic_cast<StderrProgress*>(&progress)) {
      line->Finish();  // the progress line makes way for the results
    }
    if (outcome.stopped) {
      errors << PrintableText(input.empty() ? name : input)
             << ": conversion stopped, nothing written\n";
      return 1;
    }
    if (!options.quiet) {
      out << PrintableText(name) << ": " << OutcomeFigures(outcome) << "\n";
    }
    const std::string stem = input.empty() ? std::string("test-picture") : input;
    OutputFiles files = options.outDir.empty()
                            ? options.outputs
                            : BatchOutputFiles(options.outDir, stem, options.settings);
    files.shownOnly = options.outputs.shownOnly;
    writer.Write(RequestsOf(files, workspace->converted->mode), *workspace);
  }
  return inputFailed || writer.Failed() ? 1 : 0;
}

}  // namespace pavona::cli
