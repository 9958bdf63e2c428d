#include "cli/cli_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace pavona::cli {
namespace {

Settings InMode(GraphicMode mode)
{
  Settings settings;
  settings.mode = mode;
  return settings;
}

ParseOutcome Parse(std::vector<const char*> arguments)
{
  arguments.insert(arguments.begin(), "pavona-cli");
  return ParseCommandLine(int(arguments.size()), arguments.data());
}

TEST(CliOptions, DefaultsAreTheMainWindowStartValues)
{
  // clang-format off
  const ParseOutcome outcome = Parse({"photo.jpg", "--raw", "photo.raw"});
  ASSERT_TRUE(outcome.options.has_value()) << outcome.message;
  EXPECT_EQ(outcome.options->settings, Settings{});
  EXPECT_EQ(outcome.options->inputs, std::vector<std::string>{"photo.jpg"});
  EXPECT_EQ(outcome.options->outputs.raw, "photo.raw");
}

TEST(CliOptions, EveryNamedValueReachesItsSetting)
{
  const ParseOutcome outcome =
      Parse({"--test-picture", "--raw", "x.raw", "--mode", "hires-interlaced", "--palette",
             "ccs64", "--mix", "yuv", "--match", "luma", "--flicker", "heavy", "--dither",
             "ordered8", "--serpentine", "off", "--alt-y-dither", "on", "--flip-dither", "on",
             "--separate-rgb", "off", "--value-amp", "7", "--strength", "0", "--four-colours",
             "off", "--same-banks", "on", "--extra-brute-force", "on", "--refine", "on", "--gamut", "map", "--alternate-y", "off",
             "--alternate-x", "on", "--alternate-x8", "on", "--red", "-10", "--green", "20",
             "--blue", "255", "--brightness", "-255", "--contrast", "-100", "--offset", "40,7"});
  // clang-format on
  ASSERT_TRUE(outcome.options.has_value()) << outcome.message;
  const CliOptions& o = *outcome.options;
  const Settings& s = o.settings;
  EXPECT_EQ(s.mode, GraphicMode::HiresInterlaced);
  EXPECT_EQ(s.palette, PaletteId::Ccs64);
  EXPECT_EQ(s.mix, MixMethod::Yuv);
  EXPECT_EQ(s.measure, Measure::Brightness);
  EXPECT_EQ(s.flicker, FlickerLevel::Heavy);
  EXPECT_EQ(s.dither.method, DitherMethod::Ordered8x8);
  EXPECT_FALSE(s.dither.serpentine);
  EXPECT_TRUE(s.dither.altYDither);
  EXPECT_TRUE(s.dither.flipDither);
  EXPECT_FALSE(s.dither.separateRgb);
  EXPECT_EQ(s.dither.valueAmp, 7);  // as typed; the dithering decides what it means
  EXPECT_EQ(s.dither.strength, 0);
  EXPECT_FALSE(s.fourColours);
  EXPECT_TRUE(s.sameBanks);
  EXPECT_TRUE(s.extraBruteForce);
  EXPECT_TRUE(s.refine);
  EXPECT_TRUE(s.mapIntoReach);
  EXPECT_FALSE(s.alternateY);
  EXPECT_TRUE(s.alternateX);
  EXPECT_TRUE(s.alternateX8);
  EXPECT_EQ(s.adjustment, (ColourAdjustment{-10, 20, 255, -255, -100}));
  EXPECT_TRUE(o.testPicture);
  EXPECT_EQ(o.offsetX, 40);
  EXPECT_EQ(o.offsetY, 7);
}

TEST(CliOptions, UsageErrorsExitWithTwoAndSayWhatIsValid)
{
  struct Case {
    const char* name;
    std::vector<const char*> arguments;
    const char* mentions;
  };
  const Case cases[] = {
      {"unknown option", {"a.jpg", "--raw", "a.raw", "--sharpen", "on"}, "--sharpen"},
      {"bad mode",
       {"a.jpg", "--raw", "a.raw", "--mode", "koala"},
       "--mode: \"koala\" is not allowed; use hires, hires-interlaced, fli, fli-interlace, "
       "multicolour, multicolour-fli or multicolour-interlace"},
      {"bad switch",
       {"a.jpg", "--raw", "a.raw", "--serpentine", "yes"},
       "--serpentine: \"yes\" is not allowed; use on or off"},
      {"gamut takes map, not on",
       {"a.jpg", "--raw", "a.raw", "--gamut", "on"},
       "--gamut: \"on\" is not allowed; use map or off"},
      {"bad dither",
       {"a.jpg", "--raw", "a.raw", "--dither", "bayer"},
       "atkinson, sierra-lite, jjn or stucki"},
      {"contrast out of range", {"a.jpg", "--raw", "a.raw", "--contrast", "101"}, "100"},
      {"bad offset", {"a.jpg", "--raw", "a.raw", "--offset", "12"}, "--offset"},
      {"negative offset", {"a.jpg", "--raw", "a.raw", "--offset", "-1,0"}, "--offset"},
      {"scale of a cut-out", {"a.jpg", "--raw", "a.raw", "--scale", "50"}, "--fit fit"},
      {"aspect of a cut-out", {"a.jpg", "--raw", "a.raw", "--aspect", "square"}, "--aspect"},
      {"scale 0", {"a.jpg", "--raw", "a.raw", "--fit", "fit", "--scale", "0"}, "1"},
      {"bad placement", {"a.jpg", "--raw", "a.raw", "--fit", "stretch"}, "fill"},
      {"no input", {"--raw", "a.raw"}, "--test-picture"},
      {"nothing to write", {"a.jpg"}, "--out-dir"},
      {"one file for many", {"a.jpg", "b.jpg", "--raw", "a.raw"}, "--out-dir"},
      {"fields without interlace",
       {"a.jpg", "--mode", "fli", "--field1-png", "f.png"},
       "interlaced"},
      {"editor file of another mode",
       {"a.jpg", "--mode", "fli", "--save", "a.prg", "--save", "a.eci"},
       "a.eci: cannot write .eci in this mode; use .afl, .prg, .raw"},
      {"two palettes",
       {"a.jpg", "--raw", "a.raw", "--palette", "vice", "--palette-file", "v.vpl"},
       "--palette"},
      {"one name for two outputs",
       {"a.jpg", "--save", "x.prg", "--result-png", "./x.prg"},
       "are the same file"},
      {"save without extension", {"a.jpg", "--save", "picture"}, "use .eci, .prg, .raw"},
      {"save for many inputs", {"a.jpg", "b.jpg", "--save", "a.eci"}, "--out-dir"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParseOutcome outcome = Parse(c.arguments);
    EXPECT_FALSE(outcome.options.has_value());
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.message.find(c.mentions), std::string::npos) << outcome.message;
  }
}

// Each mode saves its own editor format besides the raw and program files,
// whatever the case of the extension.
TEST(CliOptions, SavesFollowTheExtension)
{
  const ParseOutcome outcome = Parse({"a.jpg", "--mode", "hires", "--save", "a.ART", "--save",
                                      "b.prg", "--save", "c.raw", "--save", "d.art"});
  ASSERT_TRUE(outcome.options.has_value()) << outcome.message;
  EXPECT_EQ(outcome.options->outputs.saves,
            (std::vector<std::string>{"a.ART", "b.prg", "c.raw", "d.art"}));

  // Each --save takes one name: the inputs may follow it.
  const ParseOutcome natural =
      Parse({"--mode", "hires", "--save", "out.art", "--save", "out.prg", "photo.bmp"});
  ASSERT_TRUE(natural.options.has_value()) << natural.message;
  EXPECT_EQ(natural.options->outputs.saves, (std::vector<std::string>{"out.art", "out.prg"}));
  EXPECT_EQ(natural.options->inputs, (std::vector<std::string>{"photo.bmp"}));
}

TEST(CliOptions, PalettesByNameOrFile)
{
  const ParseOutcome named = Parse({"a.jpg", "--raw", "a.raw", "--palette", "Colodore"});
  ASSERT_TRUE(named.options.has_value()) << named.message;
  EXPECT_EQ(named.options->settings.palette, PaletteId::Colodore);
  const ParseOutcome file = Parse({"a.jpg", "--raw", "a.raw", "--palette-file", "my.vpl"});
  ASSERT_TRUE(file.options.has_value()) << file.message;
  EXPECT_EQ(file.options->paletteFile, "my.vpl");
}

TEST(CliOptions, PlacementOptions)
{
  ParseOutcome outcome = Parse({"a.jpg", "--frame-png", "f.png"});
  ASSERT_TRUE(outcome.options.has_value()) << outcome.message;
  EXPECT_EQ(outcome.options->fit, FitMode::Cutout);
  EXPECT_EQ(outcome.options->aspect, PixelAspect::Pal);
  EXPECT_FALSE(outcome.options->offsetGiven);
  EXPECT_EQ(outcome.options->outputs.framePng, "f.png");

  outcome = Parse({"a.jpg", "--raw", "a.raw", "--fit", "fill", "--scale", "150", "--aspect",
                   "square", "--offset", "3,4"});
  ASSERT_TRUE(outcome.options.has_value()) << outcome.message;
  EXPECT_EQ(outcome.options->fit, FitMode::Fill);
  EXPECT_EQ(outcome.options->scalePercent, 150);
  EXPECT_EQ(outcome.options->aspect, PixelAspect::Square);
  EXPECT_TRUE(outcome.options->offsetGiven);
  EXPECT_EQ(outcome.options->offsetY, 4);
}

TEST(CliOptions, HelpListsValuesAndDefaults)
{
  const ParseOutcome outcome = Parse({"--help"});
  EXPECT_FALSE(outcome.options.has_value());
  EXPECT_EQ(outcome.exitCode, 0);
  for (const char* text : {"--mode", "fli-interlace", "default: fli-interlace", "--dither",
                           "default: custom", "--strength", "default: 45", "--flicker",
                           "default: medium", "--same-banks", "default: off", "--refine"}) {
    EXPECT_NE(outcome.message.find(text), std::string::npos) << text;
  }
}

TEST(CliOptions, BatchNamesFollowTheInput)
{
  const OutputFiles interlaced =
      BatchOutputFiles("out", "/photos/cat.jpg", InMode(GraphicMode::HiresFliInterlace));
  EXPECT_EQ(interlaced.raw, "out/cat.raw");
  EXPECT_EQ(interlaced.prg, "out/cat.prg");
  EXPECT_EQ(interlaced.resultPng, "out/cat.png");
  EXPECT_EQ(interlaced.ditheredPng, "out/cat-dithered.png");
  EXPECT_EQ(interlaced.field2Png, "out/cat-field2.png");
  EXPECT_EQ(interlaced.saves, std::vector<std::string>{"out/cat.eci"});
  const OutputFiles fli = BatchOutputFiles("out", "cat.jpg", InMode(GraphicMode::HiresFli));
  EXPECT_TRUE(fli.field1Png.empty());
  EXPECT_EQ(fli.saves, std::vector<std::string>{"out/cat.afl"});
  EXPECT_EQ(BatchOutputFiles("o", "cat.jpg", InMode(GraphicMode::HiresStandard)).saves,
            std::vector<std::string>{"o/cat.art"});
  EXPECT_EQ(BatchOutputFiles("o", "cat.jpg", InMode(GraphicMode::HiresInterlaced)).saves,
            std::vector<std::string>{"o/cat.hle"});
}

}  // namespace
}  // namespace pavona::cli
