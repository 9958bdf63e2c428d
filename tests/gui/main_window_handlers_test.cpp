// The handlers of the settings controls, driven through the real widgets.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>

#include "gui/up_down.h"
#include "gui_test_support.h"

namespace pavona {
namespace {

// Enabled states that follow the graphic mode and "Same Col Banks".
struct OptionStates {
  bool sameBanks;    // CheckBox6
  bool fourColours;  // CheckBox3
  bool alternateY;   // CheckBox1
  bool alternateX;   // CheckBox4
  bool alternateX8;  // CheckBox2
  bool levels;       // the four flicker levels
  bool previews;     // "Field Seperate", "Interlaced Preview"
};

OptionStates EnabledStates(const MainWindowControls& c)
{
  const bool levels = c.RadioButton14->isEnabled();
  EXPECT_EQ(c.RadioButton20->isEnabled(), levels);
  EXPECT_EQ(c.RadioButton15->isEnabled(), levels);
  EXPECT_EQ(c.RadioButton16->isEnabled(), levels);
  EXPECT_EQ(c.Button3->isEnabled(), c.Button2->isEnabled());
  // "Extra Brute Force" is never disabled.
  EXPECT_TRUE(c.CheckBox5->isEnabled());
  return {c.CheckBox6->isEnabled(), c.CheckBox3->isEnabled(), c.CheckBox1->isEnabled(),
          c.CheckBox4->isEnabled(), c.CheckBox2->isEnabled(), levels,
          c.Button2->isEnabled()};
}

void ExpectStates(const OptionStates& actual, const OptionStates& expected)
{
  EXPECT_EQ(actual.sameBanks, expected.sameBanks) << "Same Col Banks";
  EXPECT_EQ(actual.fourColours, expected.fourColours) << "4 cols per 8x1";
  EXPECT_EQ(actual.alternateY, expected.alternateY) << "Alternate Y";
  EXPECT_EQ(actual.alternateX, expected.alternateX) << "Alternate X";
  EXPECT_EQ(actual.alternateX8, expected.alternateX8) << "Alternate X8";
  EXPECT_EQ(actual.levels, expected.levels) << "flicker levels";
  EXPECT_EQ(actual.previews, expected.previews) << "preview buttons";
}

constexpr OptionStates AllDisabled{false, false, false, false, false, false, false};
constexpr OptionStates StartStates{true, true, true, false, true, true, true};

TEST_F(MainWindowTest, ModeAndSameColBanksHandlersSetEnabledStatesAndTable)
{
  enum class Step { Standard, Interlaced, Fli, FliInterlace, SameBanksOn, SameBanksOff };
  struct Row {
    const char* name;
    std::vector<Step> steps;
    OptionStates states;
    GraphicMode tableMode;
    FlickerLevel tableLevel;  // the reduction the shown table has
  };
  using enum Step;
  const Row rows[] = {
      {"standard", {Standard}, AllDisabled, GraphicMode::HiresStandard, FlickerLevel::Off},
      {"fli", {Fli}, AllDisabled, GraphicMode::HiresFli, FlickerLevel::Off},
      {"interlaced",
       {Interlaced},
       {true, false, false, false, false, true, true},
       GraphicMode::HiresInterlaced,
       FlickerLevel::Medium},
      {"fli interlace again",
       {Standard, FliInterlace},
       StartStates,
       GraphicMode::HiresFliInterlace,
       FlickerLevel::Medium},
      {"same banks on, standard",
       {SameBanksOn, Standard},
       AllDisabled,
       GraphicMode::HiresStandard,
       FlickerLevel::Off},
      {"same banks on, fli",
       {SameBanksOn, Fli},
       AllDisabled,
       GraphicMode::HiresFli,
       FlickerLevel::Off},
      // The mode handler applies the level whatever "Same Col Banks" says.
      {"same banks on, interlaced",
       {SameBanksOn, Interlaced},
       {true, false, true, true, false, true, true},
       GraphicMode::HiresInterlaced,
       FlickerLevel::Medium},
      // ... and enables "4 cols per 8x1" again, although the box disabled it.
      {"same banks on, fli interlace again",
       {SameBanksOn, Interlaced, FliInterlace},
       {true, true, true, true, false, true, true},
       GraphicMode::HiresFliInterlace,
       FlickerLevel::Medium},
      {"same banks switched on",
       {SameBanksOn},
       {true, false, true, true, false, true, true},
       GraphicMode::HiresFliInterlace,
       FlickerLevel::Off},
      {"same banks switched off",
       {SameBanksOn, SameBanksOff},
       StartStates,
       GraphicMode::HiresFliInterlace,
       FlickerLevel::Medium},
      {"same banks toggled in interlaced",
       {Interlaced, SameBanksOn},
       {true, false, true, true, false, true, true},
       GraphicMode::HiresInterlaced,
       FlickerLevel::Off},
      {"same banks toggled off in interlaced",
       {Interlaced, SameBanksOn, SameBanksOff},
       {true, false, false, false, false, true, true},
       GraphicMode::HiresInterlaced,
       FlickerLevel::Off},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MainWindow window;
    const MainWindowControls& c = window.Controls();
    for (Step step : row.steps) {
      switch (step) {
        case Standard:
          c.RadioButton3->setChecked(true);
          break;
        case Interlaced:
          c.RadioButton4->setChecked(true);
          break;
        case Fli:
          c.RadioButton5->setChecked(true);
          break;
        case FliInterlace:
          c.RadioButton6->setChecked(true);
          break;
        case SameBanksOn:
          c.CheckBox6->setChecked(true);
          break;
        case SameBanksOff:
          c.CheckBox6->setChecked(false);
          break;
      }
    }
    ExpectStates(EnabledStates(c), row.states);
    ExpectMixTableShown(
        window, ReducedTable(PaletteId::Pepto, MixMethod::Rgb, row.tableMode, row.tableLevel));
  }
}

TEST_F(MainWindowTest, FlickerLevelsRebuildUnlessSameColBanksIsEnabledAndOn)
{
  const auto table = [](GraphicMode mode, FlickerLevel level) {
    return ReducedTable(PaletteId::Pepto, MixMethod::Rgb, mode, level);
  };
  const std::pair<QRadioButton*, FlickerLevel> levels[] = {
      {c().RadioButton16, FlickerLevel::Heavy},
      {c().RadioButton14, FlickerLevel::Off},
      {c().RadioButton20, FlickerLevel::Light},
      {c().RadioButton15, FlickerLevel::Medium}};
  for (const auto& [button, level] : levels) {
    SCOPED_TRACE(button->text().toStdString());
    Click(button);
    EXPECT_TRUE(button->isChecked());
    ExpectMixTableShown(window(), table(GraphicMode::HiresFliInterlace, level));
  }

  // Enabled and on: the level changes, the table does not.
  Click(c().CheckBox6);
  ASSERT_TRUE(c().CheckBox6->isChecked());
  const MixTable whole = table(GraphicMode::HiresFliInterlace, FlickerLevel::Off);
  ExpectMixTableShown(window(), whole);
  Click(c().RadioButton16);
  EXPECT_TRUE(c().RadioButton16->isChecked());
  ExpectMixTableShown(window(), whole);

  // On but disabled (in "Hires FLI"): a level selected from the program
  // rebuilds and reduces again.
  c().RadioButton5->setChecked(true);
  ASSERT_FALSE(c().CheckBox6->isEnabled());
  const MixTable compacted = table(GraphicMode::HiresFli, FlickerLevel::Off);
  ExpectMixTableShown(window(), compacted);
  const MixTable reduced = table(GraphicMode::HiresFli, FlickerLevel::Light);
  ASSERT_FALSE(reduced == compacted);
  c().RadioButton20->setChecked(true);
  ExpectMixTableShown(window(), reduced);
}

TEST_F(MainWindowTest, PaletteAndMixingButtonsRebuildTheTable)
{
  // "YUV Mix" with "Medium" selected.
  Click(c().RadioButton18);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Pepto, MixMethod::Yuv,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Medium));

  // A palette switches back to "RGB Mix".
  Click(c().RadioButton9);
  EXPECT_TRUE(c().RadioButton17->isChecked());
  EXPECT_FALSE(c().RadioButton18->isChecked());
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Deekay));
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Deekay, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Medium));

  // "Hires Interlaced" with "Heavy".
  Click(c().RadioButton4);
  Click(c().RadioButton16);
  Click(c().RadioButton22);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Ccs64, MixMethod::Rgb,
                                             GraphicMode::HiresInterlaced, FlickerLevel::Heavy));

  // "Same Col Banks" enabled and on: mixing takes out no level.
  Click(c().RadioButton6);
  Click(c().CheckBox6);
  Click(c().RadioButton18);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Ccs64, MixMethod::Yuv,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Off));
  // ... but a palette does: it follows the selected level.
  Click(c().RadioButton23);
  EXPECT_TRUE(c().RadioButton17->isChecked());
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Frodo, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Heavy));

  // Modes without interlace: the compacted table, no level.
  Click(c().RadioButton5);
  Click(c().RadioButton21);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Vice, MixMethod::Rgb, GraphicMode::HiresFli,
                                             FlickerLevel::Off));
  Click(c().RadioButton18);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Vice, MixMethod::Yuv, GraphicMode::HiresFli,
                                             FlickerLevel::Off));
}

TEST_F(MainWindowTest, DitheringButtonsAreOneChoiceAcrossTheirBoxes)
{
  const std::pair<QRadioButton*, DitherMethod> buttons[] = {
      {c().RadioButton1, DitherMethod::None},
      {c().RadioButton7, DitherMethod::Ordered2x2},
      {c().RadioButton26, DitherMethod::Ordered3x3},
      {c().RadioButton10, DitherMethod::Ordered4x4},
      {c().RadioButton24, DitherMethod::Ordered8x8},
      {c().RadioButton2, DitherMethod::FloydSteinberg},
      {c().RadioButton25, DitherMethod::Random},
      {c().RadioButton13, DitherMethod::Custom},
      {c().RadioButton10, DitherMethod::Ordered4x4}};
  for (const auto& [chosen, method] : buttons) {
    SCOPED_TRACE(chosen->text().toStdString());
    Click(chosen);
    for (const auto& [button, unused] : buttons) {
      EXPECT_EQ(button->isChecked(), button == chosen) << button->text().toStdString();
    }
    EXPECT_EQ(window().GatherSettings().dither.method, method);
  }
}

TEST_F(MainWindowTest, TrackBarsAndTheirFieldsFollowEachOther)
{
  QLineEdit* edit1 = c().Edit1;

  // Text that is no number counts as 0; the track bar is at 0 already, so
  // nothing changes and the text stays as typed.
  edit1->selectAll();
  QTest::keyClicks(edit1, "abc");
  EXPECT_EQ(c().TrackBar1->value(), 0);
  EXPECT_EQ(edit1->text(), "abc");

  // 300 is limited to 255; the track bar moved, so it rewrites the field.
  edit1->selectAll();
  QTest::keyClicks(edit1, "300");
  EXPECT_EQ(c().TrackBar1->value(), 255);
  EXPECT_EQ(edit1->text(), "255");

  // A moved track bar is not at 0, so "abc" now moves it back and "0" is shown.
  edit1->setText("abc");
  EXPECT_EQ(c().TrackBar1->value(), 0);
  EXPECT_EQ(edit1->text(), "0");

  // Any of the three colour track bars rewrites all three fields.
  c().Edit2->setText("junk");
  c().TrackBar1->setValue(-40);
  c().TrackBar3->setValue(17);
  EXPECT_EQ(edit1->text(), "-40");
  EXPECT_EQ(c().Edit2->text(), "0");
  EXPECT_EQ(c().Edit3->text(), "17");

  struct Row {
    QLineEdit* edit;
    QSlider* trackBar;
    const char* typed;
    int position;
    const char* shown;
  };
  const Row rows[] = {
      {c().Edit2, c().TrackBar2, "-999", -255, "-255"},
      {c().Edit3, c().TrackBar3, " 12 ", 12, "12"},
      {c().Edit4, c().TrackBar5, "-77", -77, "-77"},
      {c().Edit4, c().TrackBar5, "4x", 0, "0"},
      {c().Edit5, c().TrackBar4, "150", 100, "100"},
      {c().Edit5, c().TrackBar4, "-100", -100, "-100"},
      {c().Edit5, c().TrackBar4, "2.5", 0, "0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    row.edit->setText(row.typed);
    EXPECT_EQ(row.trackBar->value(), row.position);
    EXPECT_EQ(row.edit->text(), row.shown);
  }
  // Brightness and contrast have a field each; the colour fields stay put.
  EXPECT_EQ(c().Edit4->text(), "0");
  EXPECT_EQ(edit1->text(), "-40");

  Settings expected;
  expected.adjustment = {-40, -255, 12, 0, 0};
  EXPECT_EQ(window().GatherSettings().adjustment, expected.adjustment);
}

TEST_F(MainWindowTest, SpinnersStepWithinTheirRangeButTypedTextCountsAsTyped)
{
  UpDown* upDown = c().UpDown1;
  Click(upDown->upButton());
  EXPECT_EQ(c().Edit6->text(), "3");
  Click(upDown->upButton());
  Click(upDown->upButton());
  EXPECT_EQ(c().Edit6->text(), "4");
  EXPECT_EQ(upDown->position(), 4);

  // Typed values are used unclamped; text that is no number counts as 0.
  c().Edit6->setText("7");
  c().Edit7->setText("x");
  EXPECT_EQ(window().GatherSettings().dither.valueAmp, 7);
  EXPECT_EQ(window().GatherSettings().dither.strength, 0);
  // A step starts from the field, within the range.
  Click(upDown->downButton());
  EXPECT_EQ(c().Edit6->text(), "3");
  // With no number in the field it starts from the last position.
  Click(c().UpDown2->downButton());
  EXPECT_EQ(c().Edit7->text(), "44");
}

TEST_F(MainWindowTest, DefaultsResetEverythingButAlternateX8)
{
  // Move well away from the start values.
  c().RadioButton4->setChecked(true);
  c().CheckBox6->setChecked(true);
  c().CheckBox2->setChecked(true);
  c().CheckBox1->setChecked(false);
  c().CheckBox3->setChecked(false);
  c().CheckBox5->setChecked(true);
  c().CheckBox7->setChecked(true);
  c().CheckBox8->setChecked(false);
  c().CheckBox9->setChecked(false);
  c().CheckBox10->setChecked(true);
  c().RadioButton21->setChecked(true);
  c().RadioButton18->setChecked(true);
  c().RadioButton16->setChecked(true);
  c().RadioButton11->setChecked(true);
  c().RadioButton25->setChecked(true);
  c().Edit6->setText("9");
  c().Edit7->setText("200");
  c().TrackBar1->setValue(10);
  c().TrackBar2->setValue(-20);
  c().TrackBar3->setValue(30);
  c().TrackBar4->setValue(-50);
  c().TrackBar5->setValue(60);
  c().Label1->setText("37");
  ASSERT_NE(window().GatherSettings(), Settings{});

  Click(c().Button1);

  Settings expected;
  expected.alternateX8 = true;  // left alone
  EXPECT_EQ(window().GatherSettings(), expected);
  ExpectStates(EnabledStates(c()), StartStates);
  for (QLineEdit* edit : {c().Edit1, c().Edit2, c().Edit3, c().Edit4, c().Edit5}) {
    EXPECT_EQ(edit->text(), "0") << edit->objectName().toStdString();
  }
  EXPECT_EQ(c().Edit6->text(), "2");
  EXPECT_EQ(c().Edit7->text(), "45");
  EXPECT_EQ(c().Label1->text(), "0");
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Pepto));
  // Like at start-up, the table shows "Light" although "Medium" is selected.
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Pepto, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Light));

  // The palette is copied even when "Pepto" is selected already.
  window().workspace().palette = PaletteColours(PaletteId::Frodo);
  Click(c().Button1);
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Pepto));
  EXPECT_TRUE(c().CheckBox2->isChecked());
}

TEST_F(MainWindowTest, GatherSettingsReadsEveryControl)
{
  c().RadioButton4->setChecked(true);
  c().RadioButton22->setChecked(true);
  c().RadioButton18->setChecked(true);
  c().RadioButton12->setChecked(true);
  c().RadioButton14->setChecked(true);
  c().RadioButton24->setChecked(true);
  c().CheckBox9->setChecked(false);
  c().CheckBox7->setChecked(true);
  c().CheckBox10->setChecked(true);
  c().CheckBox8->setChecked(false);
  c().Edit6->setText("3");
  c().Edit7->setText("300");
  c().CheckBox6->setChecked(true);
  c().CheckBox5->setChecked(true);
  c().CheckBox1->setChecked(false);
  c().CheckBox4->setChecked(true);
  c().CheckBox2->setChecked(true);
  c().TrackBar1->setValue(1);
  c().TrackBar2->setValue(2);
  c().TrackBar3->setValue(3);
  c().TrackBar5->setValue(-4);
  c().TrackBar4->setValue(-5);

  Settings expected;
  expected.mode = GraphicMode::HiresInterlaced;
  expected.palette = PaletteId::Ccs64;
  expected.mix = MixMethod::Yuv;
  expected.measure = Measure::Brightness;
  expected.flicker = FlickerLevel::Off;
  expected.dither = {DitherMethod::Ordered8x8, false, 3, true, true, 300, false};
  // "4 cols per 8x1" is disabled in this mode but counts with its state.
  expected.fourColours = true;
  expected.sameBanks = true;
  expected.extraBruteForce = true;
  expected.alternateY = false;
  expected.alternateX = true;
  expected.alternateX8 = true;
  expected.adjustment = {1, 2, 3, -4, -5};
  EXPECT_FALSE(c().CheckBox3->isEnabled());
  EXPECT_EQ(window().GatherSettings(), expected);

  // The other choices of each group.
  const std::tuple<QRadioButton*, GraphicMode> modes[] = {
      {c().RadioButton3, GraphicMode::HiresStandard},
      {c().RadioButton5, GraphicMode::HiresFli},
      {c().RadioButton6, GraphicMode::HiresFliInterlace}};
  for (const auto& [button, mode] : modes) {
    button->setChecked(true);
    EXPECT_EQ(window().GatherSettings().mode, mode);
  }
  const std::tuple<QRadioButton*, PaletteId> palettes[] = {{c().RadioButton8, PaletteId::Pepto},
                                                           {c().RadioButton9, PaletteId::Deekay},
                                                           {c().RadioButton21, PaletteId::Vice},
                                                           {c().RadioButton23, PaletteId::Frodo}};
  for (const auto& [button, palette] : palettes) {
    button->setChecked(true);
    EXPECT_EQ(window().GatherSettings().palette, palette);
  }
  c().RadioButton11->setChecked(true);
  EXPECT_EQ(window().GatherSettings().measure, Measure::RgbDistance);
  c().RadioButton20->setChecked(true);
  EXPECT_EQ(window().GatherSettings().flicker, FlickerLevel::Light);
  c().RadioButton16->setChecked(true);
  EXPECT_EQ(window().GatherSettings().flicker, FlickerLevel::Heavy);
}

}  // namespace
}  // namespace pavona
