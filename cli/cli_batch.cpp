#include "cli/cli_batch.h"

#include <filesystem>
#include <memory>

#include "c64/field_pictures.h"
#include "c64/file_writer.h"
#include "c64/program_file.h"
#include "c64/raw_data_file.h"
#include "cli/stderr_progress.h"
#include "core/convert_run.h"
#include "core/source_frame.h"
#include "core/test_picture.h"
#include "io/picture_file.h"
#include "io/png_writer.h"

namespace pavona::cli {
namespace {

std::string FileName(const std::string& path)
{
  return std::filesystem::path(path).filename().string();
}

// Fills workspace.source with the cut-out of one input, or says why not.
std::string LoadFrame(const std::string& input, const CliOptions& options, Workspace& workspace,
                      const PictureWarnings& warnings)
{
  if (input.empty()) {
    workspace.source = TestPictureFrame();
    return {};
  }
  PictureFileResult read = ReadPictureFile(input, warnings);
  if (!read.Ok()) {
    return read.error;
  }
  const SourceScrollRanges ranges = ScrollRangesForPicture(read.picture.width, read.picture.height);
  if (-options.offsetX < ranges.horizontal.minimum || -options.offsetY < ranges.vertical.minimum) {
    return "cannot cut 320 x 200 at " + std::to_string(options.offsetX) + "," +
           std::to_string(options.offsetY) + " out of " + FileName(input) + ": it is " +
           std::to_string(read.picture.width) + " x " + std::to_string(read.picture.height);
  }
  workspace.loaded = std::move(read.picture);
  workspace.source = FrameFromPicture(workspace.loaded, -options.offsetX, -options.offsetY);
  return {};
}

OutputKind KindOf(const Settings& settings)
{
  return {settings.mode, settings.sameBanks, settings.fourColours};
}

class OutputWriter {
 public:
  OutputWriter(std::ostream& out, std::ostream& errors, bool quiet)
      : out_(out), errors_(errors), quiet_(quiet)
  {
  }

  void Write(const std::string& path, const std::vector<std::uint8_t>& bytes)
  {
    if (path.empty()) {
      return;
    }
    const std::string error = WriteFileAtomically(path, bytes);
    if (!error.empty()) {
      errors_ << error << "\n";
      failed_ = true;
      return;
    }
    if (!quiet_) {
      out_ << "wrote " << path << "\n";
    }
  }

  bool Failed() const { return failed_; }

 private:
  std::ostream& out_;
  std::ostream& errors_;
  bool quiet_;
  bool failed_ = false;
};

void WriteOutputs(const OutputFiles& files, Workspace& workspace, OutputWriter& writer)
{
  const Settings& converted = *workspace.converted;
  writer.Write(files.raw, RawDataBytes(workspace.c64, KindOf(converted)));
  writer.Write(files.prg, C64ProgramBytes(workspace.c64, KindOf(converted)));
  writer.Write(files.resultPng, EncodePng(workspace.result));
  writer.Write(files.ditheredPng, EncodePng(workspace.dithered));
  if (files.field1Png.empty() && files.field2Png.empty()) {
    return;
  }
  if (IsFli(converted.mode)) {
    BuildFliFieldPictures(workspace.c64, workspace.palette, workspace.field1, workspace.field2);
  } else {
    BuildHiresFieldPictures(workspace.c64, workspace.palette, workspace.field1, workspace.field2);
  }
  writer.Write(files.field1Png, EncodePng(workspace.field1));
  writer.Write(files.field2Png, EncodePng(workspace.field2));
}

}  // namespace

int RunBatch(const CliOptions& options, std::ostream& out, std::ostream& errors,
             ProgressReport& progress)
{
  std::vector<std::string> inputs = options.inputs;
  if (options.testPicture) {
    inputs.insert(inputs.begin(), std::string());  // the built-in picture
  }
  auto workspace = std::make_unique<Workspace>();
  OutputWriter writer(out, errors, options.quiet);
  bool inputFailed = false;
  // A file read despite damage says so, unless only errors are wanted.
  PictureWarnings warnings;
  if (!options.quiet) {
    warnings = [&errors](const std::string& warning) { errors << "warning: " << warning << "\n"; };
  }
  for (const std::string& input : inputs) {
    const std::string name = input.empty() ? std::string("test picture") : FileName(input);
    const std::string problem = LoadFrame(input, options, *workspace, warnings);
    if (!problem.empty()) {
      errors << problem << "\n";
      inputFailed = true;
      continue;
    }
    const ConversionOutcome outcome = ConvertRun(*workspace, options.settings, progress);
    if (auto* line = dynamic_cast<StderrProgress*>(&progress)) {
      line->Finish();  // the progress line makes way for the results
    }
    if (!options.quiet) {
      out << name << ": " << outcome.errorPercent << "% of the pixels changed ("
          << outcome.changedPixels << ")\n";
    }
    const std::string stem = input.empty() ? std::string("test-picture") : input;
    WriteOutputs(options.outDir.empty()
                     ? options.outputs
                     : BatchOutputFiles(options.outDir, stem, options.settings.mode),
                 *workspace, writer);
  }
  return inputFailed || writer.Failed() ? 1 : 0;
}

}  // namespace pavona::cli
