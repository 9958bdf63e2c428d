#include "plan/conversion_plan.h"

#include <gtest/gtest.h>

#include <string>

namespace pavona {
namespace {

constexpr GraphicMode Hires = GraphicMode::HiresStandard;
constexpr GraphicMode HiresInterlaced = GraphicMode::HiresInterlaced;
constexpr GraphicMode Fli = GraphicMode::HiresFli;
constexpr GraphicMode FliInterlace = GraphicMode::HiresFliInterlace;
constexpr GraphicMode Modes[] = {Hires, HiresInterlaced, Fli, FliInterlace};

// The three option boxes that choose the search: "4 cols per 8x1",
// "Same Col Banks", "Extra Brute Force".
struct Options {
  bool fourColours, sameBanks, extraBruteForce;
};

Settings SettingsFor(GraphicMode mode, Options options)
{
  Settings settings;
  settings.mode = mode;
  settings.fourColours = options.fourColours;
  settings.sameBanks = options.sameBanks;
  settings.extraBruteForce = options.extraBruteForce;
  return settings;
}

std::string NameOf(GraphicMode mode, Options o)
{
  const char* names[] = {"hires", "hires interlaced", "fli", "fli interlace"};  // enum order
  return std::string(names[int(mode)]) + (o.fourColours ? " +4cols" : "") +
         (o.sameBanks ? " +samebanks" : "") + (o.extraBruteForce ? " +extra" : "");
}

// Every mode with every combination of the three boxes.
template <typename Check>
void ForEveryCombination(Check check)
{
  for (GraphicMode mode : Modes) {
    for (int bits = 0; bits < 8; ++bits) {
      const Options options{(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
      SCOPED_TRACE(NameOf(mode, options));
      check(mode, options);
    }
  }
}

// The search table of the main window: the first row that matches the mode
// and the boxes chooses the search. A box left out of a row does not matter.
TEST(PlanConversion, ChoosesTheSearchByTheFirstMatchingRow)
{
  enum Box { Off, On, Any };
  struct Row {
    const char* name;
    GraphicMode mode;
    Box sameBanks, fourColours, extraBruteForce;
    ColourSearch search;
  };
  // clang-format off
  const Row rows[] = {
      {"fli",                         Fli,             Any, Any, Off, ColourSearch::Fli},
      {"fli extreme",                 Fli,             Any, Any, On,  ColourSearch::FliExtreme},
      {"fli interlace, two colours",  FliInterlace,    Off, Off, Any, ColourSearch::FliInterlace},
      {"four colours extreme",        FliInterlace,    Off, On,  On,  ColourSearch::FliFourColoursExtreme},
      {"four colours",                FliInterlace,    Off, On,  Off, ColourSearch::FliFourColours},
      {"fli interlace, same banks",   FliInterlace,    On,  Any, Any, ColourSearch::SingleBankFli},
      {"hires",                       Hires,           Any, Any, Any, ColourSearch::Hires},
      {"hires interlaced same banks", HiresInterlaced, On,  Any, Any, ColourSearch::SingleBankHires},
      {"hires interlaced",            HiresInterlaced, Off, Any, Any, ColourSearch::HiresInterlace},
  };
  // clang-format on
  const auto matches = [](Box box, bool on) { return box == Any || (box == On) == on; };
  ForEveryCombination([&](GraphicMode mode, Options o) {
    const Row* chosen = nullptr;
    for (const Row& row : rows) {
      if (row.mode == mode && matches(row.sameBanks, o.sameBanks) &&
          matches(row.fourColours, o.fourColours) &&
          matches(row.extraBruteForce, o.extraBruteForce)) {
        chosen = &row;
        break;
      }
    }
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(PlanConversion(SettingsFor(mode, o)).search, chosen->search) << chosen->name;
  });
}

// Facts that hold for every combination of mode and boxes.
TEST(PlanConversion, RulesThatHoldInEveryCombination)
{
  ForEveryCombination([](GraphicMode mode, Options o) {
    const Settings settings = SettingsFor(mode, o);
    const ConversionPlan plan = PlanConversion(settings);
    const bool twoColourFliInterlace = mode == FliInterlace && !o.sameBanks && !o.fourColours;
    // Only the two-colour FLI interlace search leaves a picture from which
    // one bitmap for both fields is built; the files then hold it once.
    EXPECT_EQ(plan.fields.buildSharedBitmap, twoColourFliInterlace);
    EXPECT_EQ(plan.output, (OutputKind{mode, o.sameBanks, twoColourFliInterlace}));
    EXPECT_EQ(plan.fieldCombination == FieldCombination::SharedBitmap, twoColourFliInterlace);
    // The FLI viewers hide columns 0..23 behind a sprite column.
    EXPECT_EQ(plan.firstColumn, IsFli(mode) ? 24 : 0);
    // Without interlace there is one field and nothing to alternate.
    if (!IsInterlaced(mode)) {
      EXPECT_EQ(plan.fields, FieldPlan{});
      EXPECT_EQ(plan.mixTable, MixTablePlan{});
    }
  });
}

TEST(PlanConversion, MixTableReductions)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks, fourColours, extraBruteForce;
    FlickerLevel flicker;
    Measure measure;
    MixTablePlan expected;  // reduceFlicker, reduceForLuma, reapplyFlickerBeforeSearch
  };
  // clang-format off
  const Row rows[] = {
      {"fli interlace start values",       FliInterlace,    false, true,  false, FlickerLevel::Medium, Measure::Perceptual, {true,  false, true}},
      {"'Y' brightness adds the luma table", FliInterlace,  false, false, false, FlickerLevel::Medium, Measure::Brightness, {true,  true,  false}},
      {"'Off' still takes the luma mixes", HiresInterlaced, false, false, false, FlickerLevel::Off,    Measure::Brightness, {true,  true,  false}},
      {"four colours, 'Y' brightness",     FliInterlace,    false, true,  false, FlickerLevel::Off,    Measure::Brightness, {true,  true,  true}},
      {"four colours extreme: no reapply", FliInterlace,    false, true,  true,  FlickerLevel::Heavy,  Measure::RgbDistance, {true, false, false}},
      {"same banks use the whole table",   FliInterlace,    true,  true,  false, FlickerLevel::Heavy,  Measure::Brightness, {false, false, false}},
      {"hires interlaced same banks",      HiresInterlaced, true,  false, false, FlickerLevel::Light,  Measure::Brightness, {false, false, false}},
      {"hires fli: pure colours only",     Fli,             false, true,  false, FlickerLevel::Heavy,  Measure::Brightness, {false, false, false}},
      {"hires: pure colours only",         Hires,           false, false, false, FlickerLevel::Light,  Measure::Brightness, {false, false, false}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings =
        SettingsFor(row.mode, {row.fourColours, row.sameBanks, row.extraBruteForce});
    settings.flicker = row.flicker;
    settings.measure = row.measure;
    EXPECT_EQ(PlanConversion(settings).mixTable, row.expected);
  }
}

TEST(PlanConversion, FieldStepsFollowTheAlternationBoxes)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks, fourColours;
    bool alternateY, alternateX, alternateX8;
    FieldPlan expected;  // build, rows/pixel columns hires, rows/cells/pixel columns fli, exchange
  };
  // clang-format off
  const Row rows[] = {
      {"hires interlaced without same banks never alternates",
                                       HiresInterlaced, false, false, true,  true,  true,  {false, false, false, false, false, false, false}},
      {"hires interlaced same banks",  HiresInterlaced, true,  false, true,  true,  true,  {false, true,  true,  false, false, false, false}},
      {"hires interlaced same banks, x only",
                                       HiresInterlaced, true,  false, false, true,  false, {false, false, true,  false, false, false, false}},
      {"fli interlace start values",   FliInterlace,    false, true,  true,  false, false, {false, false, false, true,  false, false, true}},
      {"four colours, x8",             FliInterlace,    false, true,  false, true,  true,  {false, false, false, false, true,  false, true}},
      {"two colours share the bitmap", FliInterlace,    false, false, true,  true,  true,  {true,  false, false, true,  true,  false, false}},
      {"same banks: pixel columns, never x8",
                                       FliInterlace,    true,  false, true,  true,  true,  {false, false, false, true,  false, true,  true}},
      {"hires standard",               Hires,           true,  true,  true,  true,  true,  {}},
      {"hires fli",                    Fli,             false, false, true,  true,  true,  {}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Settings settings = SettingsFor(row.mode, {row.fourColours, row.sameBanks, false});
    settings.alternateY = row.alternateY;
    settings.alternateX = row.alternateX;
    settings.alternateX8 = row.alternateX8;
    EXPECT_EQ(PlanConversion(settings).fields, row.expected);
  }
}

// The option boxes that apply in each mode, as the mode buttons and "Same Col
// Banks" enable them.
TEST(PlanConversion, EnabledControlsOfEachMode)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks;
    EnabledControls
        expected;  // same banks, flicker, 4 cols, alt Y, alt X, alt X8, previews, refine
  };
  // clang-format off
  const Row rows[] = {
      {"hires",                        Hires,           false, {false, false, false, false, false, false, false, true}},
      {"hires, same banks box on",     Hires,           true,  {false, false, false, false, false, false, false, true}},
      {"fli",                          Fli,             true,  {false, false, false, false, false, false, false, true}},
      {"hires interlaced",             HiresInterlaced, false, {true,  true,  false, false, false, false, true,  true}},
      {"hires interlaced same banks",  HiresInterlaced, true,  {true,  true,  false, true,  true,  false, true,  true}},
      {"fli interlace",                FliInterlace,    false, {true,  true,  true,  true,  false, true,  true,  true}},
      {"fli interlace same banks",     FliInterlace,    true,  {true,  true,  false, true,  true,  false, true,  true}},
      {"multicolour",                  GraphicMode::Multicolour,          true,  {false, false, false, false, false, false, false, false}},
      {"multicolour fli",              GraphicMode::MulticolourFli,       false, {false, false, false, false, false, false, false, false}},
      {"multicolour interlace",        GraphicMode::MulticolourInterlace, true,  {false, true,  false, false, false, false, true,  false}},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Settings settings = SettingsFor(row.mode, {true, row.sameBanks, false});
    EXPECT_EQ(PlanConversion(settings).controls, row.expected);
  }
}

// A control that does not apply says what would make it apply: the mode to
// choose, or the "Same Col Banks" setting that stands in its way.
TEST(PlanConversion, DisabledControlsSayWhatWouldEnableThem)
{
  struct Row {
    const char* name;
    GraphicMode mode;
    bool sameBanks;
    OptionControl control;
    const char* names;  // empty: the control applies
  };
  // clang-format off
  const Row rows[] = {
      {"alternate x in fli interlace",           FliInterlace,    false, OptionControl::AlternateX,    "Same Col Banks"},
      {"alternate x with same banks",            FliInterlace,    true,  OptionControl::AlternateX,    ""},
      {"alternate y in hires interlaced",        HiresInterlaced, false, OptionControl::AlternateY,    "Same Col Banks"},
      {"alternate x8 in hires interlaced",       HiresInterlaced, true,  OptionControl::AlternateX8,   "Hires FLI Interlace"},
      {"alternate x8 with same banks",           FliInterlace,    true,  OptionControl::AlternateX8,   "Same Col Banks"},
      {"4 cols in hires interlaced",             HiresInterlaced, false, OptionControl::FourColours,   "Hires FLI Interlace"},
      {"4 cols with same banks",                 FliInterlace,    true,  OptionControl::FourColours,   "Same Col Banks"},
      {"4 cols in fli interlace",                FliInterlace,    false, OptionControl::FourColours,   ""},
      {"flicker levels in hires",                Hires,           false, OptionControl::FlickerLevels, "interlaced"},
      {"previews in fli",                        Fli,             true,  OptionControl::FieldPreviews, "interlaced"},
      {"refine in hires",                        Hires,           false, OptionControl::Refine,        ""},
      {"refine in multicolour",                  GraphicMode::Multicolour,          false, OptionControl::Refine,        "hires modes"},
      {"same banks in multicolour interlace",    GraphicMode::MulticolourInterlace, true,  OptionControl::SameBanks,     "two pictures"},
      {"alternate y in multicolour interlace",   GraphicMode::MulticolourInterlace, false, OptionControl::AlternateY,    "two pictures"},
      {"flicker levels in multicolour interlace", GraphicMode::MulticolourInterlace, false, OptionControl::FlickerLevels, ""},
      {"previews in multicolour fli",            GraphicMode::MulticolourFli,       false, OptionControl::FieldPreviews, "interlaced"},
      {"4 cols in multicolour",                  GraphicMode::Multicolour,          false, OptionControl::FourColours,   "hires interlaced"},
  };
  // clang-format on
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const Settings settings = SettingsFor(row.mode, {true, row.sameBanks, false});
    const std::string why(WhyNotApplicable(settings, row.control));
    if (std::string_view(row.names).empty()) {
      EXPECT_EQ(why, "");
    } else {
      EXPECT_NE(why.find(row.names), std::string::npos) << why;
    }
  }
}

}  // namespace
}  // namespace pavona
