#include "cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <sstream>
#include <utility>
#include <vector>

#include "c64/c64_files.h"
#include "c64/scene_formats.h"
#include "cli/output_paths.h"
#include "colour/colour_adjustment.h"
#include "plan/conversion_plan.h"

namespace pavona::cli {
namespace {

// The words an option takes, in the order the help lists them.
template <typename Value>
using Names = std::vector<std::pair<std::string, Value>>;

const Names<GraphicMode> ModeNames = {{"hires", GraphicMode::HiresStandard},
                                      {"hires-interlaced", GraphicMode::HiresInterlaced},
                                      {"fli", GraphicMode::HiresFli},
                                      {"fli-interlace", GraphicMode::HiresFliInterlace},
                                      {"multicolour", GraphicMode::Multicolour},
                                      {"multicolour-fli", GraphicMode::MulticolourFli},
                                      {"multicolour-interlace", GraphicMode::MulticolourInterlace}};
const Names<PaletteId> PaletteNames = {
    {"pepto", PaletteId::Pepto}, {"deekay", PaletteId::Deekay}, {"vice", PaletteId::Vice},
    {"ccs64", PaletteId::Ccs64}, {"frodo", PaletteId::Frodo},   {"colodore", PaletteId::Colodore}};
const Names<MixMethod> MixNames = {{"rgb", MixMethod::Rgb}, {"yuv", MixMethod::Yuv}};
const Names<Measure> MeasureNames = {{"rgb", Measure::RgbDistance},
                                     {"luma", Measure::Brightness},
                                     {"perceptual", Measure::Perceptual}};
const Names<FlickerLevel> FlickerNames = {{"off", FlickerLevel::Off},
                                          {"light", FlickerLevel::Light},
                                          {"medium", FlickerLevel::Medium},
                                          {"heavy", FlickerLevel::Heavy}};
const Names<DitherMethod> DitherNames = {{"none", DitherMethod::None},
                                         {"ordered2", DitherMethod::Ordered2x2},
                                         {"ordered3", DitherMethod::Ordered3x3},
                                         {"ordered4", DitherMethod::Ordered4x4},
                                         {"ordered8", DitherMethod::Ordered8x8},
                                         {"floyd", DitherMethod::FloydSteinberg},
                                         {"custom", DitherMethod::Custom},
                                         {"random", DitherMethod::Random},
                                         {"ordered2-balanced", DitherMethod::Ordered2x2Balanced},
                                         {"ordered3-balanced", DitherMethod::Ordered3x3Balanced},
                                         {"ordered4-balanced", DitherMethod::Ordered4x4Balanced},
                                         {"ordered8-balanced", DitherMethod::Ordered8x8Balanced},
                                         {"atkinson", DitherMethod::Atkinson},
                                         {"sierra-lite", DitherMethod::SierraLite},
                                         {"jjn", DitherMethod::JarvisJudiceNinke},
                                         {"stucki", DitherMethod::Stucki}};
const Names<FitMode> FitNames = {
    {"cutout", FitMode::Cutout}, {"fit", FitMode::Fit}, {"fill", FitMode::Fill}};
const Names<PixelAspect> AspectNames = {{"square", PixelAspect::Square}, {"pal", PixelAspect::Pal}};
const Names<bool> SwitchNames = {{"on", true}, {"off", false}};
const Names<bool> GamutNames = {{"map", true}, {"off", false}};

template <typename Value>
std::string NameOf(const Names<Value>& names, Value value)
{
  for (const auto& [name, candidate] : names) {
    if (candidate == value) {
      return name;
    }
  }
  return {};
}

// "hires, fli or fli-interlace".
template <typename Value>
std::string ListOf(const Names<Value>& names)
{
  std::string list;
  for (std::size_t i = 0; i < names.size(); ++i) {
    list += (i == 0 ? "" : i + 1 == names.size() ? " or " : ", ") + names[i].first;
  }
  return list;
}

// Turns the word (in any case) into the number CLI11 reads the value from, or
// says which words the option takes.
template <typename Value>
CLI::Validator ChoiceOf(const Names<Value>& names)
{
  return CLI::Validator(
      [&names](std::string& word) -> std::string {
        const std::string lower = CLI::detail::to_lower(word);
        for (const auto& [name, value] : names) {
          if (lower == name) {
            word = std::to_string(static_cast<long long>(value));
            return {};
          }
        }
        return "\"" + word + "\" is not allowed; use " + ListOf(names);
      },
      "");
}

template <typename Value>
void AddChoice(CLI::App& app, const std::string& flag, Value& target, const Names<Value>& names,
               const std::string& description)
{
  std::string words;
  for (const auto& [name, value] : names) {
    words += (words.empty() ? "{" : ",") + name;
  }
  app.add_option(flag, target, description + " " + words + "}")
      ->transform(ChoiceOf(names))
      ->default_str(NameOf(names, target))
      ->option_text("WORD (default: " + NameOf(names, target) + ")");
}

void AddSwitch(CLI::App& app, const std::string& flag, bool& target, const std::string& description)
{
  AddChoice(app, flag, target, SwitchNames, description);
}

void AddNumber(CLI::App& app, const std::string& flag, int& target, int low, int high,
               const std::string& description)
{
  app.add_option(flag, target, description)
      ->check(CLI::Range(low, high))
      ->option_text("INT (" + std::to_string(low) + ".." + std::to_string(high) +
                    ", default: " + std::to_string(target) + ")");
}

void AddSettings(CLI::App& app, Settings& s)
{
  AddChoice(app, "--mode", s.mode, ModeNames, "graphic mode");
  AddChoice(app, "--palette", s.palette, PaletteNames, "C64 palette");
  AddChoice(app, "--mix", s.mix, MixNames, "palette mixing");
  AddChoice(app, "--match", s.measure, MeasureNames, "colour matching");
  AddChoice(app, "--flicker", s.flicker, FlickerNames, "flicker colour reduction");
  AddChoice(app, "--dither", s.dither.method, DitherNames, "dithering method");
  AddSwitch(app, "--serpentine", s.dither.serpentine, "serpentine error diffusion");
  AddSwitch(app, "--alt-y-dither", s.dither.altYDither, "ordered: alternate the shift by line");
  AddSwitch(app, "--flip-dither", s.dither.flipDither, "ordered: swap x and y");
  AddSwitch(app, "--separate-rgb", s.dither.separateRgb, "random: one draw per channel");
  // "Value Amp" and "Strength" take what may be typed into their fields.
  AddNumber(app, "--value-amp", s.dither.valueAmp, -1000, 1000, "ordered dithering amplitude");
  AddNumber(app, "--strength", s.dither.strength, -1000, 1000, "random dithering strength");
  AddSwitch(app, "--four-colours", s.fourColours, "4 colours per 8x1 (FLI interlace)");
  AddSwitch(app, "--same-banks", s.sameBanks, "same colour banks in both fields");
  AddSwitch(app, "--extra-brute-force", s.extraBruteForce, "try every colour pair (FLI)");
  AddSwitch(app, "--refine", s.refine,
            "place the pixels and choose the cell colours again as the eye sees them");
  AddChoice(app, "--gamut", s.mapIntoReach, GamutNames,
            "map colours the palette cannot reach into reach, keeping lightness and hue");
  AddSwitch(app, "--alternate-y", s.alternateY, "interlace: alternate rows");
  AddSwitch(app, "--alternate-x", s.alternateX, "interlace: alternate pixel columns");
  AddSwitch(app, "--alternate-x8", s.alternateX8, "interlace: alternate cell columns");
  for (const AdjustmentRange& range : AdjustmentRanges) {
    AddNumber(app, std::string("--") + range.name, s.adjustment.*range.setting, -range.limit,
              range.limit, range.description);
  }
}

void AddOutputs(CLI::App& app, CliOptions& o)
{
  app.add_option("--raw", o.outputs.raw, "write the raw C64 data file");
  app.add_option("--prg", o.outputs.prg, "write the C64 program that shows the picture");
  // One file a --save, so that the inputs may follow it.
  app.add_option("--save", o.outputs.saves,
                 "write a C64 file, by its extension: .raw, .prg or the mode's editor file "
                 "(.art, .hle, .afl, .eci, .kla, .fli, .mci); may be repeated")
      ->allow_extra_args(false)
      ->option_text("TEXT");
  app.add_option("--result-png", o.outputs.resultPng, "write the converted picture as PNG");
  AddSwitch(app, "--shown-only", o.outputs.shownOnly,
            "the result PNG black where the C64 program shows nothing (the FLI modes' first "
            "24 columns and last 3 rows, the sprite column of interlaced fields with colours "
            "of their own)");
  app.add_option("--dithered-png", o.outputs.ditheredPng, "write the dithered picture as PNG");
  app.add_option("--field1-png", o.outputs.field1Png, "write interlace field 1 as PNG");
  app.add_option("--field2-png", o.outputs.field2Png, "write interlace field 2 as PNG");
  app.add_option("--frame-png", o.outputs.framePng,
                 "write the 320 x 200 frame as placed, before the colour adjustment, as PNG "
                 "(alone: no conversion)");
  app.add_option(
      "--out-dir", o.outDir,
      "write NAME.raw, NAME.prg, the mode's editor file (NAME.art, .hle, .afl, .eci, "
      ".kla, .fli or .mci), NAME.png, NAME-dithered.png (and the fields NAME-field1.png, "
      "NAME-field2.png in interlaced modes) per input; inputs with the same NAME "
      "are refused, and no output may be an input");
}

void AddPlacement(CLI::App& app, CliOptions& o)
{
  AddChoice(app, "--fit", o.fit, FitNames,
            "cutout: 1:1; fit: the whole picture inside the frame; fill: covering the frame");
  app.add_option("--scale", o.scalePercent,
                 "zoom in percent of the picture's size instead of the fit or fill scale "
                 "(with --fit fit or fill)")
      ->check(CLI::Range(1, 1000))
      ->option_text("INT (1..1000)");
  AddChoice(app, "--aspect", o.aspect, AspectNames,
            "pal: keep the photo's shape on a PAL screen, whose C64 pixels are narrower "
            "than tall; square: one frame pixel per picture pixel (with --fit fit or fill)");
}

// "--offset X,Y": where the cut-out starts in the picture, both 0 or more.
std::string ParseOffset(const std::string& text, CliOptions& options)
{
  options.offsetGiven = true;
  std::istringstream stream(text);
  char comma = 0;
  if (!(stream >> options.offsetX >> comma >> options.offsetY) || comma != ',' || !stream.eof() ||
      options.offsetX < 0 || options.offsetY < 0) {
    return "--offset wants two whole numbers 0 or more, like 40,100";
  }
  return {};
}

bool HasSingleOutput(const OutputFiles& o)
{
  return !(o.raw + o.prg + o.resultPng + o.ditheredPng + o.field1Png + o.field2Png + o.framePng)
              .empty() ||
         !o.saves.empty();
}

// Every --save name must have an extension that the converted mode can write.
std::string CheckSaveExtensions(const CliOptions& options)
{
  const GraphicMode mode = options.settings.mode;
  for (const std::string& name : options.outputs.saves) {
    const std::string extension = std::filesystem::path(name).extension().string();
    if (!C64FileFor(extension, mode)) {
      return "--save " + name + ": " +
             (extension.empty() ? std::string("no extension") : "cannot write " + extension) +
             " in this mode; use " + C64FileExtensions(mode);
    }
  }
  return {};
}

// --scale and --aspect say how a picture is scaled; a cut-out is never scaled.
std::string CheckPlacement(const CLI::App& app, const CliOptions& options)
{
  if (options.fit != FitMode::Cutout) {
    return {};
  }
  for (const char* option : {"--scale", "--aspect"}) {
    if (app.count(option) > 0) {
      return std::string(option) + " needs --fit fit or --fit fill (a cut-out is 1:1)";
    }
  }
  return {};
}

std::string CheckCombination(const CliOptions& options)
{
  const size_t inputs = options.inputs.size() + (options.testPicture ? 1 : 0);
  if (inputs == 0) {
    return "no input: give picture files or --test-picture";
  }
  for (const std::string& input : options.inputs) {
    if (input.empty()) {
      return "an input file name is empty (the built-in picture is --test-picture)";
    }
  }
  if (inputs > 1 && HasSingleOutput(options.outputs)) {
    return "several inputs need --out-dir; --raw, --prg, --save and the --*-png options name "
           "one file";
  }
  if (!HasSingleOutput(options.outputs) && options.outDir.empty()) {
    return "nothing to write: give --out-dir or at least one of --raw, --prg, --save, "
           "--result-png, --dithered-png, --field1-png, --field2-png, --frame-png";
  }
  const bool fields = !options.outputs.field1Png.empty() || !options.outputs.field2Png.empty();
  if (fields && !PlanConversion(options.settings).fieldPictures) {
    return "--field1-png and --field2-png need an interlaced mode (hires-interlaced or "
           "fli-interlace)";
  }
  return CheckSaveExtensions(options);
}

}  // namespace

ParseOutcome ParseCommandLine(int argc, const char* const* argv)
{
  CliOptions options;
  std::string offset;
  CLI::App app{"Converts pictures into C64 hires and multicolour, interlaced and FLI pictures.",
               "pavona-cli"};
  app.get_formatter()->column_width(40);
  app.add_option("inputs", options.inputs, "JPEG, bitmap or PNG files");
  app.add_flag("--test-picture", options.testPicture, "convert the built-in test picture");
  app.add_option("--offset", offset,
                 "X,Y of the 320 x 200 cut-out in a larger picture (0,0); with --fit fit or "
                 "fill, of the frame in the scaled picture, in frame pixels (default: centred)");
  AddPlacement(app, options);
  AddSettings(app, options.settings);
  app.add_option("--palette-file", options.paletteFile,
                 "C64 palette from a VICE palette file (.vpl) instead of --palette")
      ->excludes("--palette");
  AddOutputs(app, options);
  app.add_flag("-q,--quiet", options.quiet, "print nothing but errors");

  ParseOutcome outcome;
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    outcome.message = app.help();
    return outcome;
  } catch (const CLI::ParseError& error) {
    outcome.exitCode = 2;
    outcome.message = std::string(error.what()) + "\nRun with --help for the options.";
    return outcome;
  }
  std::string problem = offset.empty() ? std::string() : ParseOffset(offset, options);
  if (problem.empty()) {
    problem = CheckPlacement(app, options);
  }
  if (problem.empty()) {
    problem = CheckCombination(options);
  }
  if (problem.empty()) {
    problem = CheckOutputPaths(options);  // before anything is converted or written
  }
  if (!problem.empty()) {
    outcome.exitCode = 2;
    outcome.message = problem + "\nRun with --help for the options.";
    return outcome;
  }
  outcome.options = std::move(options);
  return outcome;
}

OutputFiles BatchOutputFiles(const std::string& outDir, const std::string& inputPath,
                             const Settings& settings)
{
  const GraphicMode mode = settings.mode;
  const std::filesystem::path base =
      std::filesystem::path(outDir) / std::filesystem::path(inputPath).stem();
  const std::string stem = base.string();
  OutputFiles files{stem + ".raw",
                    stem + ".prg",
                    stem + ".png",
                    stem + "-dithered.png",
                    {},
                    {},
                    {stem + std::string(SceneFormatInfoOf(SceneFormatOf(mode)).extension)},
                    {}};
  if (PlanConversion(settings).fieldPictures) {
    files.field1Png = stem + "-field1.png";
    files.field2Png = stem + "-field2.png";
  }
  return files;
}

}  // namespace pavona::cli
