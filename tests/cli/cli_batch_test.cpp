#include "cli/cli_batch.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <set>
#include <sstream>
#include <system_error>
#include <thread>

#include "c64/c64_files.h"
#include "c64/program_file.h"
#include "c64/raw_data_file.h"
#include "c64/scene_formats.h"
#include "cli/cli_options.h"
#include "core/convert_run.h"
#include "core/test_picture.h"
#include "framing/source_frame.h"
#include "io/picture_file.h"
#include "support/damaged_pictures.h"
#include "support/jpeg_encoding.h"
#include "support/png_test_file.h"

namespace pavona::cli {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path)
{
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string DataFile(const char* name)
{
  return std::string(PAVONA_TEST_DATA_DIR) + "/" + name;
}

class CliBatch : public ::testing::Test {
 protected:
  void SetUp() override
  {
    directory_ =
        fs::temp_directory_path() /
        ("pavona-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }

  int Run(const CliOptions& options)
  {
    SilentProgress progress;
    return RunBatch(options, out_, errors_, progress);
  }

  fs::path directory_;
  std::ostringstream out_;
  std::ostringstream errors_;
};

// The command line gives the same bytes as converting the same frame with the
// same settings directly, which is what the GUI does.
TEST_F(CliBatch, WritesWhatTheConversionProduces)
{
  CliOptions options;
  options.inputs = {DataFile("coffee_frame.jpg")};
  options.settings.mode = GraphicMode::HiresInterlaced;
  options.settings.dither.method = DitherMethod::FloydSteinberg;
  options.outputs.raw = (directory_ / "coffee.raw").string();
  options.outputs.prg = (directory_ / "coffee.prg").string();
  options.outputs.resultPng = (directory_ / "coffee.png").string();
  options.outputs.saves = {(directory_ / "coffee.hle").string(),
                           (directory_ / "copy.PRG").string()};
  ASSERT_EQ(Run(options), 0) << errors_.str();

  auto workspace = std::make_unique<Workspace>();
  PictureFileResult read = ReadPictureFile(DataFile("coffee_frame.jpg"));
  ASSERT_TRUE(read.Ok());
  workspace->source = FrameFromPicture(read.picture, 0, 0);
  SilentProgress progress;
  const ConversionOutcome outcome = ConvertRun(*workspace, options.settings, progress);
  const OutputKind kind{GraphicMode::HiresInterlaced, false, false};
  EXPECT_EQ(ReadBytes(directory_ / "coffee.raw"), RawDataBytes(workspace->c64, kind));
  EXPECT_EQ(ReadBytes(directory_ / "coffee.prg"), C64ProgramBytes(workspace->c64, kind));
  EXPECT_EQ(ReadBytes(directory_ / "coffee.prg").size(), 19202u);
  EXPECT_EQ(ReadBytes(directory_ / "copy.PRG"), C64ProgramBytes(workspace->c64, kind));
  EXPECT_EQ(ReadBytes(directory_ / "coffee.hle"), SceneFileBytes(workspace->c64, kind));
  EXPECT_GT(ReadBytes(directory_ / "coffee.png").size(), 1000u);
  EXPECT_NE(out_.str().find("coffee_frame.jpg: " + OutcomeFigures(outcome)), std::string::npos)
      << out_.str();
  EXPECT_NE(out_.str().find("wrote " + options.outputs.prg), std::string::npos);
}

TEST_F(CliBatch, ABadInputFailsAloneAndTheOthersAreConverted)
{
  CliOptions options;
  options.testPicture = true;
  options.inputs = {DataFile("not_a_picture.txt"), DataFile("baseline.jpg"),
                    DataFile("truncated.jpg")};
  options.outDir = directory_.string();
  options.settings.mode = GraphicMode::HiresFli;
  EXPECT_EQ(Run(options), 1);
  EXPECT_NE(errors_.str().find("not_a_picture.txt"), std::string::npos) << errors_.str();
  EXPECT_NE(errors_.str().find("truncated.jpg"), std::string::npos) << errors_.str();
  EXPECT_EQ(fs::file_size(directory_ / "test-picture.raw"), 16384u);
  EXPECT_EQ(fs::file_size(directory_ / "baseline.prg"), 17154u);
  EXPECT_EQ(fs::file_size(directory_ / "baseline.afl"), 16385u);
  EXPECT_TRUE(fs::exists(directory_ / "baseline-dithered.png"));
  EXPECT_FALSE(fs::exists(directory_ / "not_a_picture.raw"));
  EXPECT_FALSE(fs::exists(directory_ / "baseline-field1.png")) << "no fields without interlace";
}

// libpng's warnings about a damaged side chunk reach the user as warnings,
// except with --quiet; the picture is converted all the same.
TEST_F(CliBatch, PngWarningsAreShownUnlessQuiet)
{
  const std::vector<std::uint8_t> png = ReadBytes(DataFile("alpha.png"));
  const fs::path damaged = directory_ / "damaged.png";
  {
    const std::vector<std::uint8_t> bytes = testing::WithTextChunk(png, false);
    std::ofstream(damaged, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  for (const bool quiet : {false, true}) {
    SCOPED_TRACE(quiet ? "quiet" : "not quiet");
    errors_.str("");
    CliOptions options;
    options.quiet = quiet;
    options.inputs = {damaged.string()};
    options.outputs.raw = (directory_ / "damaged.raw").string();
    EXPECT_EQ(Run(options), 0) << errors_.str();
    EXPECT_EQ(errors_.str(), quiet ? "" : "warning: damaged.png: tEXt: CRC error\n");
    EXPECT_TRUE(fs::exists(directory_ / "damaged.raw"));
  }
}

TEST_F(CliBatch, FieldsAndOutputFailures)
{
  CliOptions options;
  options.testPicture = true;
  options.outputs.field1Png = (directory_ / "f1.png").string();
  options.outputs.raw = (directory_ / "missing" / "x.raw").string();
  EXPECT_EQ(Run(options), 1);
  EXPECT_TRUE(fs::exists(directory_ / "f1.png"));
  EXPECT_NE(errors_.str().find("x.raw"), std::string::npos) << errors_.str();
}

// The files of one picture are made and written two at a time, yet the lines
// that report them (stdout and stderr alike) keep the order of the options,
// even when the first file is finished last. Each failure is reported in its
// place, the other files are written all the same, and one output never
// replaces another.
TEST_F(CliBatch, OutputsAreReportedInOrderWithEachFailureInItsPlace)
{
  const fs::path d = directory_;
  CliOptions options;
  options.testPicture = true;
  options.settings.mode = GraphicMode::HiresInterlaced;
  options.outputs.raw = (d / "a.raw").string();
  options.outputs.prg = (d / "missing" / "b.prg").string();
  options.outputs.saves = {(d / "c.eci").string(), (d / "c.hle").string()};
  options.outputs.resultPng = (d / "r.png").string();
  options.outputs.ditheredPng = (d / "d.png").string();
  options.outputs.field1Png = (d / "f1.png").string();
  options.outputs.field2Png = options.outputs.raw;

  // Where there are two cores, whichever thread makes the first file holds it
  // until the last file that is made at all is done.
  const bool twoCores = std::thread::hardware_concurrency() > 1;
  std::mutex mutex;
  std::condition_variable lastMade;
  bool field1Made = false, madeAtOnce = false;
  const OutputMaker maker = [&](OutputFile file, const Workspace& workspace) -> OutputBytes {
    if (file == OutputFile::DitheredPng) {
      return {{}, "no room for the dither"};
    }
    if (file == OutputFile::Raw && twoCores) {
      std::unique_lock lock(mutex);
      madeAtOnce = lastMade.wait_for(lock, std::chrono::seconds(30), [&] { return field1Made; });
    }
    OutputBytes bytes = OutputFileBytes(file, workspace);
    if (file == OutputFile::Field1Png) {
      std::lock_guard lock(mutex);
      field1Made = true;
      lastMade.notify_all();
    }
    return bytes;
  };
  std::ostringstream log;  // both streams, to see their lines' order
  SilentProgress progress;
  EXPECT_EQ(RunBatch(options, log, log, progress, maker), 1);

  const std::string raw = options.outputs.raw;
  const std::string lines[] = {
      "wrote " + raw,
      "cannot save " + options.outputs.prg + ": " + std::generic_category().message(ENOENT),
      "cannot save " + (d / "c.eci").string() + ": use " +
          C64FileExtensions(GraphicMode::HiresInterlaced),
      "wrote " + (d / "c.hle").string(),
      "wrote " + options.outputs.resultPng,
      "cannot save " + options.outputs.ditheredPng + ": no room for the dither",
      "wrote " + options.outputs.field1Png,
      "cannot save " + raw + ": another output of the run has that name",
  };
  std::string expected;
  for (const std::string& line : lines) {
    expected += line + "\n";
  }
  const std::string text = log.str();
  EXPECT_EQ(text.rfind("test picture: ", 0), 0u) << text;  // the figures come first
  EXPECT_EQ(text.substr(text.find('\n') + 1), expected);
  if (twoCores) {
    EXPECT_TRUE(madeAtOnce) << "the last file was not made while the first waited";
  }
  const std::vector<std::uint8_t> rawBytes = ReadBytes(raw);
  EXPECT_FALSE(rawBytes.size() >= 4 && rawBytes[1] == 'P' && rawBytes[2] == 'N' &&
               rawBytes[3] == 'G')
      << "a field's PNG file replaced the raw data";
  for (const char* name : {"c.hle", "r.png", "f1.png"}) {
    EXPECT_TRUE(fs::exists(d / name)) << name;
  }
  for (const char* name : {"missing", "c.eci", "d.png"}) {
    EXPECT_FALSE(fs::exists(d / name)) << name;
  }
}

// Each file is made once when it is asked for and never when it is not: a
// PNG takes longer to encode than the conversion itself.
TEST_F(CliBatch, MakesOnlyTheFilesAskedFor)
{
  using Files = std::multiset<OutputFile>;
  struct Row {
    const char* name;
    void (*ask)(CliOptions&, const fs::path&);
    Files made;
  };
  const Row rows[] = {
      {"one program",
       [](CliOptions& o, const fs::path& d) { o.outputs.prg = d / "a.prg"; },
       {OutputFile::Program}},
      {"the frame alone",
       [](CliOptions& o, const fs::path& d) { o.outputs.framePng = d / "f.png"; },
       {OutputFile::FramePng}},
      {"two PNG files and a save",
       [](CliOptions& o, const fs::path& d) {
         o.outputs.field2Png = d / "2.png";
         o.outputs.ditheredPng = d / "d.png";
         o.outputs.saves = {d / "a.eci"};
       },
       {OutputFile::Scene, OutputFile::DitheredPng, OutputFile::Field2Png}},
      {"a folder of everything",
       [](CliOptions& o, const fs::path& d) { o.outDir = d; },
       {OutputFile::Raw, OutputFile::Program, OutputFile::Scene, OutputFile::ResultPng,
        OutputFile::DitheredPng, OutputFile::Field1Png, OutputFile::Field2Png}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const fs::path folder = directory_ / row.name;
    fs::create_directories(folder);
    CliOptions options;
    options.testPicture = true;
    row.ask(options, folder);
    Files made;
    std::mutex madeMutex;  // the files are made two at a time
    SilentProgress progress;
    ASSERT_EQ(RunBatch(options, out_, errors_, progress,
                       [&](OutputFile file, const Workspace& workspace) {
                         {
                           std::lock_guard lock(madeMutex);
                           made.insert(file);
                         }
                         return OutputFileBytes(file, workspace);
                       }),
              0)
        << errors_.str();
    EXPECT_EQ(made, row.made);
  }
}

// libjpeg's warnings about tolerated damage reach stderr through the
// program's own reporting, and --quiet silences them.
TEST_F(CliBatch, WarningsAboutDamageAreShownUnlessQuiet)
{
  const fs::path stray = directory_ / "stray.jpg";
  {
    const std::vector<std::uint8_t> bytes =
        test::JpegWithStrayBytes(ReadBytes(DataFile("baseline.jpg")));
    std::ofstream(stray, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  for (const bool quiet : {false, true}) {
    errors_.str("");
    CliOptions options;
    options.inputs = {stray.string()};
    options.quiet = quiet;
    options.outputs.raw = (directory_ / "stray.raw").string();
    EXPECT_EQ(Run(options), 0) << errors_.str();
    if (quiet) {
      EXPECT_EQ(errors_.str(), "");
    } else {
      EXPECT_EQ(errors_.str().rfind("warning: stray.jpg: ", 0), 0u) << errors_.str();
      EXPECT_NE(errors_.str().find("extraneous bytes"), std::string::npos) << errors_.str();
    }
  }
}

TEST_F(CliBatch, AnOffsetMustFitThePicture)
{
  CliOptions options;
  options.inputs = {DataFile("coffee_frame.jpg")};  // exactly 320 x 200: only 0,0 fits
  options.offsetX = 1;
  options.outputs.raw = (directory_ / "x.raw").string();
  EXPECT_EQ(Run(options), 1);
  EXPECT_NE(errors_.str().find("320 x 200"), std::string::npos) << errors_.str();
  EXPECT_FALSE(fs::exists(directory_ / "x.raw"));
}

// Stops the first stage that asks.
class StopAtOnce final : public ProgressReport {
 public:
  void SetStatus(std::string_view) override {}
  void SetProgress(int) override {}
  void ShowRows(const Picture&, int, int) override {}
  void ShowMixTable(const MixTable&) override {}
  void ReportStrayColour(std::uint32_t) override {}
  bool ShouldContinue() const override { return false; }
};

// A stopped conversion is no success: nothing is written, nothing claims a
// result, the status says it failed and the rest of the batch is not started.
TEST_F(CliBatch, AStoppedConversionWritesAndReportsNothing)
{
  CliOptions options;
  options.testPicture = true;
  options.inputs = {DataFile("baseline.jpg")};
  options.outDir = directory_.string();
  StopAtOnce progress;
  EXPECT_EQ(RunBatch(options, out_, errors_, progress), 1);
  EXPECT_EQ(out_.str(), "");
  EXPECT_NE(errors_.str().find("stopped"), std::string::npos) << errors_.str();
  EXPECT_EQ(errors_.str().find("baseline"), std::string::npos) << errors_.str();
  EXPECT_TRUE(fs::is_empty(directory_));
}

// A palette loaded from a file converts exactly as the same palette built in.
TEST_F(CliBatch, APaletteFileWorksLikeTheBuiltInPalette)
{
  CliOptions options;
  options.inputs = {DataFile("coffee_frame.jpg")};
  options.settings.mode = GraphicMode::HiresFliInterlace;
  options.settings.palette = PaletteId::Colodore;
  options.outDir = (directory_ / "built-in").string();
  fs::create_directories(options.outDir);
  ASSERT_EQ(Run(options), 0) << errors_.str();
  options.settings.palette = PaletteId::Pepto;
  options.paletteFile = DataFile("colodore.vpl");
  options.outDir = (directory_ / "file").string();
  fs::create_directories(options.outDir);
  ASSERT_EQ(Run(options), 0) << errors_.str();
  for (const char* name : {"coffee_frame.raw", "coffee_frame.png", "coffee_frame-field1.png"}) {
    EXPECT_EQ(ReadBytes(directory_ / "file" / name), ReadBytes(directory_ / "built-in" / name))
        << name;
  }
}

TEST_F(CliBatch, ABadPaletteFileStopsBeforeConverting)
{
  CliOptions options;
  options.testPicture = true;
  options.paletteFile = DataFile("not_a_picture.txt");
  options.outputs.raw = (directory_ / "x.raw").string();
  EXPECT_EQ(Run(options), 1);
  EXPECT_NE(errors_.str().find("cannot read " + DataFile("not_a_picture.txt") + ": line 1:"),
            std::string::npos)
      << errors_.str();
  EXPECT_FALSE(fs::exists(directory_ / "x.raw"));
  EXPECT_EQ(out_.str(), "");
}

// A name whose extension does not fit the converted mode is refused by name,
// and the other files are still written.
TEST_F(CliBatch, ASaveThatDoesNotFitTheModeFails)
{
  CliOptions options;
  options.testPicture = true;
  options.settings.mode = GraphicMode::HiresStandard;
  options.outputs.saves = {(directory_ / "x.eci").string(), (directory_ / "x.art").string()};
  EXPECT_EQ(Run(options), 1);
  EXPECT_NE(errors_.str().find("x.eci: use .art, .prg, .raw"), std::string::npos) << errors_.str();
  EXPECT_FALSE(fs::exists(directory_ / "x.eci"));
  EXPECT_EQ(fs::file_size(directory_ / "x.art"), 9009u);
}

// --frame-png alone writes the placed frame and converts nothing.
TEST_F(CliBatch, TheFrameAloneIsWrittenAsPlaced)
{
  CliOptions options;
  options.inputs = {DataFile("coffee_frame.jpg")};
  options.outputs.framePng = (directory_ / "frame.png").string();
  ASSERT_EQ(Run(options), 0) << errors_.str();
  EXPECT_EQ(out_.str(), "wrote " + options.outputs.framePng + "\n");
  const PictureFileResult written = ReadPictureFile(options.outputs.framePng);
  const PictureFileResult input = ReadPictureFile(DataFile("coffee_frame.jpg"));
  ASSERT_TRUE(written.Ok() && input.Ok()) << written.error << input.error;
  EXPECT_EQ(written.picture.pixels, input.picture.pixels) << "a 320 x 200 cut-out is the picture";
}

// Real files in each placement: a portrait photo stored turned (as cameras
// do) with its Exif orientation, a picture smaller than the frame and a
// 1 x 5000 sliver. Each row names frame pixels and whether they are black.
TEST_F(CliBatch, PicturesArePlacedAsAsked)
{
  // Portrait 600 x 900 upright, white with a red top third: stored as
  // 900 x 600 turned a quarter left, orientation 6.
  LoadedPicture stored{900, 600, std::vector<std::uint32_t>(900 * 600, 0xFFFFFF)};
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 300; ++x) {
      stored.pixels[std::size_t(y) * 900 + x] = 0xFF0000;  // the upright top third
    }
  }
  const std::vector<std::uint8_t> portrait =
      test::EncodeJpeg(stored, 90, test::ExifOrientationBlock(6));
  std::ofstream(directory_ / "portrait.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(portrait.data()), std::streamsize(portrait.size()));
  const std::vector<std::uint8_t> sliver =
      test::EncodeJpeg(LoadedPicture{1, 5000, std::vector<std::uint32_t>(5000, 0x3060C0)}, 95);
  std::ofstream(directory_ / "sliver.jpg", std::ios::binary)
      .write(reinterpret_cast<const char*>(sliver.data()), std::streamsize(sliver.size()));

  struct Row {
    std::string name;
    std::string file;
    FitMode fit;
    PixelAspect aspect;
    std::vector<std::pair<int, int>> black, notBlack;
    GraphicMode mode = GraphicMode::HiresStandard;  // shows the whole frame
  };
  const std::string portraitFile = (directory_ / "portrait.jpg").string();
  const std::string sliverFile = (directory_ / "sliver.jpg").string();
  const Row rows[] = {
      // Fitted 600 x 900 is 133 x 200 frame pixels (square), 143 x 200 (PAL).
      {"portrait fit square",
       portraitFile,
       FitMode::Fit,
       PixelAspect::Square,
       {{90, 100}, {229, 100}},
       {{95, 0}, {224, 199}}},
      {"portrait fit pal",
       portraitFile,
       FitMode::Fit,
       PixelAspect::Pal,
       {{87, 100}, {232, 100}},
       {{90, 0}, {229, 199}}},
      {"portrait fill", portraitFile, FitMode::Fill, PixelAspect::Pal, {}, {{0, 0}, {319, 199}}},
      {"portrait cutout",
       portraitFile,
       FitMode::Cutout,
       PixelAspect::Pal,
       {},
       {{0, 0}, {319, 199}}},
      // 48 x 32, not enlarged: at (136, 84) square.
      {"small fit",
       DataFile("baseline.jpg"),
       FitMode::Fit,
       PixelAspect::Square,
       {{135, 100}, {184, 100}, {150, 83}, {150, 116}},
       {{136, 84}, {183, 115}}},
      {"small fill",
       DataFile("baseline.jpg"),
       FitMode::Fill,
       PixelAspect::Square,
       {},
       {{0, 0}, {319, 199}}},
      {"small cutout",
       DataFile("baseline.jpg"),
       FitMode::Cutout,
       PixelAspect::Square,
       {{48, 0}, {0, 32}},
       {{0, 0}, {47, 31}}},
      {"sliver fit",
       sliverFile,
       FitMode::Fit,
       PixelAspect::Pal,
       {{158, 0}, {160, 199}},
       {{159, 0}, {159, 199}}},
      {"sliver fill",
       sliverFile,
       FitMode::Fill,
       PixelAspect::Pal,
       {},
       {{0, 0}, {319, 199}, {160, 100}}},
      // The FLI modes show columns 24..319 and rows 0..196: fitted 600 x 900
      // is 131 x 197 there, centred at 24 + 82; a filled picture covers the
      // shown part and runs on under the black sprite column.
      {"portrait fit fli",
       portraitFile,
       FitMode::Fit,
       PixelAspect::Square,
       {{104, 100}, {237, 100}, {0, 100}},
       {{107, 0}, {235, 196}},
       GraphicMode::HiresFli},
      {"portrait fill fli interlace",
       portraitFile,
       FitMode::Fill,
       PixelAspect::Pal,
       {{0, 100}, {23, 199}},
       {{24, 0}, {319, 199}},
       GraphicMode::HiresFliInterlace},
      // The sprite column of the viewer of fields with colours of their own.
      {"small fit hires interlaced",
       DataFile("baseline.jpg"),
       FitMode::Fit,
       PixelAspect::Square,
       {{147, 100}, {196, 100}},
       {{148, 84}, {195, 115}},
       GraphicMode::HiresInterlaced},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    CliOptions options;
    options.inputs = {row.file};
    options.fit = row.fit;
    options.aspect = row.aspect;
    options.settings.mode = row.mode;
    options.outputs.framePng = (directory_ / "frame.png").string();
    ASSERT_EQ(Run(options), 0) << errors_.str();
    const PictureFileResult frame = ReadPictureFile(options.outputs.framePng);
    ASSERT_TRUE(frame.Ok()) << frame.error;
    ASSERT_EQ(frame.picture.width, PictureWidth);
    const auto at = [&](std::pair<int, int> p) {
      return frame.picture.pixels[std::size_t(p.second) * PictureWidth + p.first];
    };
    for (const auto& pixel : row.black) {
      EXPECT_EQ(at(pixel), 0u) << pixel.first << "," << pixel.second;
    }
    for (const auto& pixel : row.notBlack) {
      EXPECT_GT(RedOf(at(pixel)) + GreenOf(at(pixel)) + BlueOf(at(pixel)), 100)
          << pixel.first << "," << pixel.second;
    }
    if (row.file == portraitFile && row.fit != FitMode::Cutout) {  // upright: red on top
      EXPECT_LT(GreenOf(at({160, 2})), 40) << std::hex << at({160, 2});
      EXPECT_GT(GreenOf(at({160, 195})), 215) << std::hex << at({160, 195});
    }
  }
}

// --shown-only blacks out what the program file does not show and leaves the
// rest of the result PNG as it was.
TEST_F(CliBatch, TheResultCanBeWrittenAsTheC64ShowsIt)
{
  const struct {
    GraphicMode mode;
    FrameArea shown;
  } rows[] = {{GraphicMode::HiresFliInterlace, {24, 0, 296, 197}},
              {GraphicMode::HiresInterlaced, {24, 0, 296, 200}},
              {GraphicMode::HiresStandard, {0, 0, 320, 200}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.mode));
    std::vector<std::uint32_t> pictures[2];
    for (const bool shownOnly : {false, true}) {
      CliOptions options;
      options.inputs = {DataFile("coffee_frame.jpg")};
      options.settings.mode = row.mode;
      options.outputs.shownOnly = shownOnly;
      options.outputs.resultPng = (directory_ / "result.png").string();
      ASSERT_EQ(Run(options), 0) << errors_.str();
      const PictureFileResult written = ReadPictureFile(options.outputs.resultPng);
      ASSERT_TRUE(written.Ok()) << written.error;
      pictures[shownOnly] = written.picture.pixels;
    }
    int hiddenAndLit = 0;
    for (int y = 0; y < PictureHeight; ++y) {
      for (int x = 0; x < PictureWidth; ++x) {
        const std::size_t i = PixelIndex(x, y);
        const bool shown = x >= row.shown.left && x < row.shown.left + row.shown.width &&
                           y >= row.shown.top && y < row.shown.top + row.shown.height;
        ASSERT_EQ(pictures[1][i], shown ? pictures[0][i] : 0u) << x << "," << y;
        hiddenAndLit += !shown && pictures[0][i] != 0;
      }
    }
    // Without it the result shows what the C64 hides (the FLI modes'
    // first columns are black anyway, their last rows are not).
    EXPECT_EQ(hiddenAndLit > 0, row.mode != GraphicMode::HiresStandard);
  }
}

TEST_F(CliBatch, AnOffsetPansAScaledPictureWithinItsRange)
{
  CliOptions options;
  options.inputs = {DataFile("baseline.jpg")};         // 48 x 32: 300 % is 144 x 96
  options.settings.mode = GraphicMode::HiresStandard;  // fills the whole frame
  options.fit = FitMode::Fill;
  options.scalePercent = 300;
  options.aspect = PixelAspect::Square;
  options.offsetGiven = true;
  options.offsetX = 1;
  options.outputs.framePng = (directory_ / "frame.png").string();
  EXPECT_EQ(Run(options), 1);
  EXPECT_NE(errors_.str().find("144 x 96"), std::string::npos) << errors_.str();
  EXPECT_FALSE(fs::exists(directory_ / "frame.png"));

  options.inputs = {DataFile("coffee_frame.jpg")};  // 320 x 200: 300 % is 960 x 600
  options.offsetX = 640;
  options.offsetY = 400;
  EXPECT_EQ(Run(options), 0) << errors_.str();
  options.offsetX = 641;
  EXPECT_EQ(Run(options), 1);
  EXPECT_NE(errors_.str().find("640,400"), std::string::npos) << errors_.str();
}

}  // namespace
}  // namespace pavona::cli
