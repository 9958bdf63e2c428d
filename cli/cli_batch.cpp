#include "cli/cli_batch.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "c64/c64_files.h"
#include "c64/file_writer.h"
#include "cli/stderr_progress.h"
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

class OutputWriter {
 public:
  OutputWriter(std::ostream& out, std::ostream& errors, bool quiet, const OutputMaker& makeOutput)
      : out_(out), errors_(errors), quiet_(quiet), makeOutput_(makeOutput)
  {
  }

  // Nothing is made for a name that is not asked for.
  void Write(const std::string& path, const Workspace& workspace, OutputFile file)
  {
    if (path.empty()) {
      return;
    }
    const OutputBytes output = makeOutput_(file, workspace);
    if (!output.Ok()) {
      Fail("cannot save " + path + ": " + output.error);
      return;
    }
    const std::string error = WriteFileAtomically(path, output.bytes);
    if (!error.empty()) {
      Fail(error);
      return;
    }
    if (!quiet_) {
      out_ << PrintableText("wrote " + path) << "\n";
    }
  }

  void Fail(const std::string& error)
  {
    errors_ << PrintableText(error) << "\n";
    failed_ = true;
  }

  bool Failed() const { return failed_; }

 private:
  std::ostream& out_;
  std::ostream& errors_;
  bool quiet_;
  const OutputMaker& makeOutput_;
  bool failed_ = false;
};

void WriteOutputs(const OutputFiles& files, const Workspace& workspace, OutputWriter& writer)
{
  const GraphicMode mode = workspace.converted->mode;
  writer.Write(files.raw, workspace, OutputFile::Raw);
  writer.Write(files.prg, workspace, OutputFile::Program);
  for (const std::string& name : files.saves) {
    // The command line checks the extensions before converting; this is for
    // callers that did not.
    const auto file = C64FileFor(std::filesystem::path(name).extension().string(), mode);
    if (!file) {
      writer.Fail("cannot save " + name + ": use " + C64FileExtensions(mode));
      continue;
    }
    writer.Write(name, workspace, OutputFileOf(*file));
  }
  writer.Write(files.resultPng, workspace,
               files.shownOnly ? OutputFile::ResultPngAsShown : OutputFile::ResultPng);
  writer.Write(files.ditheredPng, workspace, OutputFile::DitheredPng);
  writer.Write(files.field1Png, workspace, OutputFile::Field1Png);
  writer.Write(files.field2Png, workspace, OutputFile::Field2Png);
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
      writer.Write(options.outputs.framePng, *workspace, OutputFile::FramePng);
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
    WriteOutputs(files, *workspace, writer);
  }
  return inputFailed || writer.Failed() ? 1 : 0;
}

}  // namespace pavona::cli
