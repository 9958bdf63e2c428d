// The handlers of the settings controls, driven through the real widgets.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <set>

#include "gui/main_window_tables.h"
#include "gui/up_down.h"
#include "gui_test_support.h"
#include "plan/conversion_plan.h"
#include "plan/run_pictures.h"

namespace pavona {
namespace {

// The option controls' enabled states as the window shows them. Controls
// that stand for one choice together must agree.
EnabledControls ShownEnabledControls(const MainWindowControls& c)
{
  const bool levels = c.flickerButtons.off->isEnabled();
  EXPECT_EQ(c.flickerButtons.light->isEnabled(), levels);
  EXPECT_EQ(c.flickerButtons.medium->isEnabled(), levels);
  EXPECT_EQ(c.flickerButtons.heavy->isEnabled(), levels);
  EXPECT_EQ(c.interlacedPreviewButton->isEnabled(), c.fieldPreviewButton->isEnabled());
  // "Extra Brute Force" is never disabled.
  EXPECT_TRUE(c.extraBruteForceBox->isEnabled());
  EnabledControls shown;
  shown.sameBanks = c.sameBanksBox->isEnabled();
  shown.flickerLevels = levels;
  shown.fourColours = c.fourColoursBox->isEnabled();
  shown.alternateY = c.alternateYBox->isEnabled();
  shown.alternateX = c.alternateXBox->isEnabled();
  shown.alternateX8 = c.alternateX8Box->isEnabled();
  shown.fieldPreviews = c.fieldPreviewButton->isEnabled();
  return shown;
}

// The window enables exactly what the conversion plan says applies.
void ExpectControlsFollowThePlan(const MainWindow& window)
{
  const EnabledControls shown = ShownEnabledControls(window.Controls());
  const EnabledControls planned = PlanConversion(window.GatherSettings()).controls;
  EXPECT_EQ(shown.sameBanks, planned.sameBanks) << "Same Col Banks";
  EXPECT_EQ(shown.flickerLevels, planned.flickerLevels) << "flicker levels";
  EXPECT_EQ(shown.fourColours, planned.fourColours) << "4 cols per 8x1";
  EXPECT_EQ(shown.alternateY, planned.alternateY) << "Alternate Y";
  EXPECT_EQ(shown.alternateX, planned.alternateX) << "Alternate X";
  EXPECT_EQ(shown.alternateX8, planned.alternateX8) << "Alternate X8";
  EXPECT_EQ(shown.fieldPreviews, planned.fieldPreviews) << "preview buttons";
}

// Every mode with "Same Col Banks" off and on, reached with the mode chosen
// before or after the box: the enabled states do not depend on the order of
// clicks. Each row starts from another mode so that the mode really changes.
TEST_F(MainWindowTest, OptionControlsFollowThePlanWhateverTheOrderOfClicks)
{
  ExpectControlsFollowThePlan(window());
  for (const auto& target : ModeChoices) {
    for (bool sameBanks : {false, true}) {
      for (bool modeFirst : {false, true}) {
        SCOPED_TRACE(std::string(target.caption) + (sameBanks ? ", same banks" : "") +
                     (modeFirst ? ", mode first" : ", box first"));
        MainWindow window;
        const MainWindowControls& c = window.Controls();
        QRadioButton* mode = c.modeButtons.*target.button;
        const bool fromStandard = target.value != GraphicMode::HiresStandard;
        (fromStandard ? c.modeButtons.hiresStandard : c.modeButtons.hiresFli)->setChecked(true);
        if (!modeFirst) {
          c.sameBanksBox->setChecked(sameBanks);
        }
        mode->setChecked(true);
        if (modeFirst) {
          c.sameBanksBox->setChecked(sameBanks);
        }
        ASSERT_EQ(window.GatherSettings().mode, target.value);
        ASSERT_EQ(window.GatherSettings().sameBanks, sameBanks);
        ExpectControlsFollowThePlan(window);
      }
    }
  }
}

// The mix table shown is the one the run dithers with: the interlaced modes
// take out the selected level unless "Same Col Banks" is on, whose
// single-bank searches use the whole table.
TEST_F(MainWindowTest, ModeAndSameColBanksHandlersShowThePlannedMixTable)
{
  enum class Step { Standard, Interlaced, Fli, FliInterlace, SameBanksOn, SameBanksOff };
  struct Row {
    const char* name;
    std::vector<Step> steps;
    GraphicMode tableMode;
    FlickerLevel tableLevel;  // the reduction the shown table has
  };
  using enum Step;
  using enum GraphicMode;
  using enum FlickerLevel;
  const Row rows[] = {
      {"standard", {Standard}, HiresStandard, Off},
      {"fli", {Fli}, HiresFli, Off},
      {"interlaced", {Interlaced}, HiresInterlaced, Medium},
      {"fli interlace again", {Standard, FliInterlace}, HiresFliInterlace, Medium},
      {"same banks on, standard", {SameBanksOn, Standard}, HiresStandard, Off},
      {"same banks on, fli", {SameBanksOn, Fli}, HiresFli, Off},
      {"same banks on, interlaced", {SameBanksOn, Interlaced}, HiresInterlaced, Off},
      {"same banks on, fli interlace again",
       {SameBanksOn, Interlaced, FliInterlace},
       HiresFliInterlace,
       Off},
      {"same banks switched on", {SameBanksOn}, HiresFliInterlace, Off},
      {"same banks switched off", {SameBanksOn, SameBanksOff}, HiresFliInterlace, Medium},
      {"same banks toggled in interlaced", {Interlaced, SameBanksOn}, HiresInterlaced, Off},
      {"same banks toggled off in interlaced",
       {Interlaced, SameBanksOn, SameBanksOff},
       HiresInterlaced,
       Medium},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    MainWindow window;
    const MainWindowControls& c = window.Controls();
    for (Step step : row.steps) {
      switch (step) {
        case Standard:
          c.modeButtons.hiresStandard->setChecked(true);
          break;
        case Interlaced:
          c.modeButtons.hiresInterlaced->setChecked(true);
          break;
        case Fli:
          c.modeButtons.hiresFli->setChecked(true);
          break;
        case FliInterlace:
          c.modeButtons.hiresFliInterlace->setChecked(true);
          break;
        case SameBanksOn:
          c.sameBanksBox->setChecked(true);
          break;
        case SameBanksOff:
          c.sameBanksBox->setChecked(false);
          break;
      }
    }
    ExpectControlsFollowThePlan(window);
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
      {c().flickerButtons.heavy, FlickerLevel::Heavy},
      {c().flickerButtons.off, FlickerLevel::Off},
      {c().flickerButtons.light, FlickerLevel::Light},
      {c().flickerButtons.medium, FlickerLevel::Medium}};
  for (const auto& [button, level] : levels) {
    SCOPED_TRACE(button->text().toStdString());
    Click(button);
    EXPECT_TRUE(button->isChecked());
    ExpectMixTableShown(window(), table(GraphicMode::HiresFliInterlace, level));
  }

  // Enabled and on: the level changes, the table does not.
  Click(c().sameBanksBox);
  ASSERT_TRUE(c().sameBanksBox->isChecked());
  const MixTable whole = table(GraphicMode::HiresFliInterlace, FlickerLevel::Off);
  ExpectMixTableShown(window(), whole);
  Click(c().flickerButtons.heavy);
  EXPECT_TRUE(c().flickerButtons.heavy->isChecked());
  ExpectMixTableShown(window(), whole);

  // "Hires FLI" has no interlace: a level selected from the program takes
  // nothing out of its compacted table.
  c().modeButtons.hiresFli->setChecked(true);
  ASSERT_FALSE(c().sameBanksBox->isEnabled());
  const MixTable compacted = table(GraphicMode::HiresFli, FlickerLevel::Off);
  ExpectMixTableShown(window(), compacted);
  ASSERT_FALSE(table(GraphicMode::HiresFli, FlickerLevel::Light) == compacted);
  c().flickerButtons.light->setChecked(true);
  ExpectMixTableShown(window(), compacted);
}

TEST_F(MainWindowTest, PaletteAndMixingButtonsRebuildTheTable)
{
  // "YUV Mix" with "Medium" selected.
  Click(c().mixButtons.yuv);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Pepto, MixMethod::Yuv,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Medium));

  // A palette switches back to "RGB Mix".
  Click(c().paletteButtons.deekay);
  EXPECT_TRUE(c().mixButtons.rgb->isChecked());
  EXPECT_FALSE(c().mixButtons.yuv->isChecked());
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Deekay));
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Deekay, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Medium));

  // "Hires Interlaced" with "Heavy".
  Click(c().modeButtons.hiresInterlaced);
  Click(c().flickerButtons.heavy);
  Click(c().paletteButtons.ccs64);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Ccs64, MixMethod::Rgb,
                                             GraphicMode::HiresInterlaced, FlickerLevel::Heavy));

  // "Same Col Banks" enabled and on: mixing takes out no level.
  Click(c().modeButtons.hiresFliInterlace);
  Click(c().sameBanksBox);
  Click(c().mixButtons.yuv);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Ccs64, MixMethod::Yuv,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Off));
  // ... and neither does a palette.
  Click(c().paletteButtons.frodo);
  EXPECT_TRUE(c().mixButtons.rgb->isChecked());
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Frodo, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Off));

  // Modes without interlace: the compacted table, no level.
  Click(c().modeButtons.hiresFli);
  Click(c().paletteButtons.vice);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Vice, MixMethod::Rgb, GraphicMode::HiresFli,
                                             FlickerLevel::Off));
  Click(c().mixButtons.yuv);
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Vice, MixMethod::Yuv, GraphicMode::HiresFli,
                                             FlickerLevel::Off));
}

// The table a run with these settings dithers with.
MixTable PlannedTable(const Settings& settings)
{
  MixTable table;
  PrepareMixTable(table, PaletteOf(settings), settings, PlanConversion(settings).mixTable);
  return table;
}

// Whatever is selected, in whichever order, "Mix palette" shows the table
// the run will dither with: at start, in every mode with every level (the
// level chosen before or after the mode), with "'Y' Brightness" matching and
// with "Same Col Banks", and after "Defaults".
TEST_F(MainWindowTest, MixTableShownIsTheOneTheRunDithersWith)
{
  ExpectMixTableShown(window(), PlannedTable(Settings{}));
  Settings expected;
  int order = 0;
  for (const auto& mode : ModeChoices) {
    for (const auto& level : FlickerChoices) {
      SCOPED_TRACE(std::string(mode.caption) + ", " + level.caption);
      QRadioButton* modeButton = c().modeButtons.*mode.button;
      QRadioButton* levelButton = c().flickerButtons.*level.button;
      const bool levelFirst = ++order % 2 == 0;
      (levelFirst ? levelButton : modeButton)->setChecked(true);
      (levelFirst ? modeButton : levelButton)->setChecked(true);
      expected.mode = mode.value;
      expected.flicker = level.value;
      ASSERT_EQ(window().GatherSettings(), expected);
      ExpectMixTableShown(window(), PlannedTable(expected));
    }
  }

  // 'Y' Brightness takes its own mixes out of an interlaced table as well,
  // unless a single bank uses the whole table.
  Click(c().modeButtons.hiresInterlaced);
  Click(c().flickerButtons.light);
  Click(c().matchingButtons.brightness);
  expected.mode = GraphicMode::HiresInterlaced;
  expected.flicker = FlickerLevel::Light;
  expected.measure = Measure::Brightness;
  ASSERT_EQ(window().GatherSettings(), expected);
  ASSERT_FALSE(PlannedTable(expected) ==
               ReducedTable(PaletteId::Pepto, MixMethod::Rgb, expected.mode, expected.flicker));
  ExpectMixTableShown(window(), PlannedTable(expected));
  Click(c().sameBanksBox);
  expected.sameBanks = true;
  ASSERT_EQ(window().GatherSettings(), expected);
  ExpectMixTableShown(window(), PlannedTable(expected));

  Click(c().defaultsButton);
  ExpectMixTableShown(window(), PlannedTable(Settings{}));
}

// The buttons sit in four boxes, yet selecting one deselects all the others,
// in whichever box they are, and the method read is the one selected.
TEST_F(MainWindowTest, DitheringButtonsAreOneChoiceAcrossTheirBoxes)
{
  std::set<const QWidget*> boxes;
  for (const auto& choice : DitherChoices) {
    boxes.insert((c().ditherButtons.*choice.button)->parentWidget());
  }
  ASSERT_EQ(boxes.size(), 4u);
  // Every button from every other, back and forth across the boxes.
  for (const auto& from : DitherChoices) {
    for (const auto& to : DitherChoices) {
      QRadioButton* chosen = c().ditherButtons.*to.button;
      Click(c().ditherButtons.*from.button);
      Click(chosen);
      SCOPED_TRACE(std::string(from.caption) + " then " + to.caption);
      for (const auto& other : DitherChoices) {
        QRadioButton* button = c().ditherButtons.*other.button;
        EXPECT_EQ(button->isChecked(), button == chosen) << other.caption;
      }
      EXPECT_EQ(window().GatherSettings().dither.method, to.value);
    }
  }
}

// A control that changes no setting would be a control the conversion never
// reads: every check box and every radio button not yet selected changes
// what GatherSettings reads. The "Placement" group's controls are no
// conversion setting: they change the frame ("Convert" takes it as shown).
// Nor is "Live": it says when to convert.
TEST_F(MainWindowTest, EverySettingControlIsRead)
{
  const auto placesTheFrame = [](const QWidget* control) {
    return control->objectName().startsWith("placement.");
  };
  Click(c().ditherButtons.ordered2x2);  // "Balanced" applies to the ordered methods
  for (QCheckBox* box : window().findChildren<QCheckBox*>()) {
    if (placesTheFrame(box) || box == c().liveBox) {
      continue;
    }
    const Settings before = window().GatherSettings();
    box->toggle();
    EXPECT_NE(window().GatherSettings(), before) << box->objectName().toStdString();
  }
  for (QRadioButton* button : window().findChildren<QRadioButton*>()) {
    if (button->isChecked() || placesTheFrame(button)) {
      continue;
    }
    const Settings before = window().GatherSettings();
    button->setChecked(true);
    EXPECT_NE(window().GatherSettings(), before) << button->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, TrackBarsAndTheirFieldsFollowEachOther)
{
  QLineEdit* edit1 = c().adjustment.red.field;

  // Text that is no number counts as 0; the track bar is at 0 already, so
  // nothing changes and the text stays as typed.
  edit1->selectAll();
  QTest::keyClicks(edit1, "abc");
  EXPECT_EQ(c().adjustment.red.trackBar->value(), 0);
  EXPECT_EQ(edit1->text(), "abc");

  // 300 is limited to 255; the field shows it once the typing ends.
  edit1->selectAll();
  QTest::keyClicks(edit1, "300");
  EXPECT_EQ(c().adjustment.red.trackBar->value(), 255);
  EXPECT_EQ(edit1->text(), "300");
  QTest::keyClick(edit1, Qt::Key_Return);
  EXPECT_EQ(edit1->text(), "255");

  // A moved track bar is not at 0, so "abc" now moves it back and "0" is shown.
  edit1->setText("abc");
  EXPECT_EQ(c().adjustment.red.trackBar->value(), 0);
  EXPECT_EQ(edit1->text(), "0");

  // Any of the three colour track bars rewrites all three fields.
  c().adjustment.green.field->setText("junk");
  c().adjustment.red.trackBar->setValue(-40);
  c().adjustment.blue.trackBar->setValue(17);
  EXPECT_EQ(edit1->text(), "-40");
  EXPECT_EQ(c().adjustment.green.field->text(), "0");
  EXPECT_EQ(c().adjustment.blue.field->text(), "17");

  struct Row {
    QLineEdit* edit;
    QSlider* trackBar;
    const char* typed;
    int position;
    const char* shown;
  };
  const Row rows[] = {
      {c().adjustment.green.field, c().adjustment.green.trackBar, "-999", -255, "-255"},
      {c().adjustment.blue.field, c().adjustment.blue.trackBar, " 12 ", 12, "12"},
      {c().adjustment.brightness.field, c().adjustment.brightness.trackBar, "-77", -77, "-77"},
      {c().adjustment.brightness.field, c().adjustment.brightness.trackBar, "4x", 0, "0"},
      {c().adjustment.contrast.field, c().adjustment.contrast.trackBar, "150", 100, "100"},
      {c().adjustment.contrast.field, c().adjustment.contrast.trackBar, "-100", -100, "-100"},
      {c().adjustment.contrast.field, c().adjustment.contrast.trackBar, "2.5", 0, "0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    row.edit->setText(row.typed);
    EXPECT_EQ(row.trackBar->value(), row.position);
    EXPECT_EQ(row.edit->text(), row.shown);
  }
  // Brightness and contrast have a field each; the colour fields stay put.
  EXPECT_EQ(c().adjustment.brightness.field->text(), "0");
  EXPECT_EQ(edit1->text(), "-40");

  Settings expected;
  expected.adjustment = {-40, -255, 12, 0, 0};
  EXPECT_EQ(window().GatherSettings().adjustment, expected.adjustment);
}

TEST_F(MainWindowTest, SpinnersStepWithinTheirRangeButTypedTextCountsAsTyped)
{
  UpDown* upDown = c().valueAmpSpinner;
  Click(upDown->upButton());
  EXPECT_EQ(c().valueAmpField->text(), "3");
  Click(upDown->upButton());
  Click(upDown->upButton());
  EXPECT_EQ(c().valueAmpField->text(), "4");
  EXPECT_EQ(upDown->position(), 4);

  // Typed values are used unclamped; text that is no number counts as 0.
  c().valueAmpField->setText("7");
  c().strengthField->setText("x");
  EXPECT_EQ(window().GatherSettings().dither.valueAmp, 7);
  EXPECT_EQ(window().GatherSettings().dither.strength, 0);
  // A step starts from the field, within the range.
  Click(upDown->downButton());
  EXPECT_EQ(c().valueAmpField->text(), "3");
  // With no number in the field it starts from the last position.
  Click(c().strengthSpinner->downButton());
  EXPECT_EQ(c().strengthField->text(), "44");
}

TEST_F(MainWindowTest, DefaultsResetEverythingButAlternateX8)
{
  // Move well away from the start values.
  c().modeButtons.hiresInterlaced->setChecked(true);
  c().sameBanksBox->setChecked(true);
  c().alternateX8Box->setChecked(true);
  c().alternateYBox->setChecked(false);
  c().fourColoursBox->setChecked(false);
  c().extraBruteForceBox->setChecked(true);
  c().refineBox->setChecked(true);
  c().mapIntoReachBox->setChecked(true);
  c().altYDitherBox->setChecked(true);
  c().separateRgbBox->setChecked(false);
  c().serpentineBox->setChecked(false);
  c().flipDitherBox->setChecked(true);
  c().paletteButtons.vice->setChecked(true);
  c().mixButtons.yuv->setChecked(true);
  c().flickerButtons.heavy->setChecked(true);
  c().matchingButtons.rgbDistance->setChecked(true);
  c().ditherButtons.random->setChecked(true);
  c().valueAmpField->setText("9");
  c().strengthField->setText("200");
  c().adjustment.red.trackBar->setValue(10);
  c().adjustment.green.trackBar->setValue(-20);
  c().adjustment.blue.trackBar->setValue(30);
  c().adjustment.contrast.trackBar->setValue(-50);
  c().adjustment.brightness.trackBar->setValue(60);
  c().errorValueLabel->setText("37");
  ASSERT_NE(window().GatherSettings(), Settings{});

  Click(c().defaultsButton);

  Settings expected;
  expected.alternateX8 = true;  // left alone
  EXPECT_EQ(window().GatherSettings(), expected);
  ExpectControlsFollowThePlan(window());
  for (QLineEdit* edit :
       {c().adjustment.red.field, c().adjustment.green.field, c().adjustment.blue.field,
        c().adjustment.brightness.field, c().adjustment.contrast.field}) {
    EXPECT_EQ(edit->text(), "0") << edit->objectName().toStdString();
  }
  EXPECT_EQ(c().valueAmpField->text(), "2");
  EXPECT_EQ(c().strengthField->text(), "45");
  EXPECT_EQ(c().errorValueLabel->text(), "0");
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Pepto));
  // Like at start-up, the table has the selected level taken out.
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Pepto, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Medium));

  // The palette is copied even when "Pepto" is selected already.
  window().workspace().palette = PaletteColours(PaletteId::Frodo);
  Click(c().defaultsButton);
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Pepto));
  EXPECT_TRUE(c().alternateX8Box->isChecked());
}

TEST_F(MainWindowTest, GatherSettingsReadsEveryControl)
{
  c().modeButtons.hiresInterlaced->setChecked(true);
  c().paletteButtons.ccs64->setChecked(true);
  c().mixButtons.yuv->setChecked(true);
  c().matchingButtons.brightness->setChecked(true);
  c().flickerButtons.off->setChecked(true);
  c().ditherButtons.ordered8x8->setChecked(true);
  c().serpentineBox->setChecked(false);
  c().altYDitherBox->setChecked(true);
  c().flipDitherBox->setChecked(true);
  c().separateRgbBox->setChecked(false);
  c().valueAmpField->setText("3");
  c().strengthField->setText("300");
  c().sameBanksBox->setChecked(true);
  c().extraBruteForceBox->setChecked(true);
  c().refineBox->setChecked(true);
  c().mapIntoReachBox->setChecked(true);
  c().alternateYBox->setChecked(false);
  c().alternateXBox->setChecked(true);
  c().alternateX8Box->setChecked(true);
  c().adjustment.red.trackBar->setValue(1);
  c().adjustment.green.trackBar->setValue(2);
  c().adjustment.blue.trackBar->setValue(3);
  c().adjustment.brightness.trackBar->setValue(-4);
  c().adjustment.contrast.trackBar->setValue(-5);

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
  expected.refine = true;
  expected.mapIntoReach = true;
  expected.alternateY = false;
  expected.alternateX = true;
  expected.alternateX8 = true;
  expected.adjustment = {1, 2, 3, -4, -5};
  EXPECT_FALSE(c().fourColoursBox->isEnabled());
  EXPECT_EQ(window().GatherSettings(), expected);

  // The other choices of each group.
  const std::tuple<QRadioButton*, GraphicMode> modes[] = {
      {c().modeButtons.hiresStandard, GraphicMode::HiresStandard},
      {c().modeButtons.hiresFli, GraphicMode::HiresFli},
      {c().modeButtons.hiresFliInterlace, GraphicMode::HiresFliInterlace}};
  for (const auto& [button, mode] : modes) {
    button->setChecked(true);
    EXPECT_EQ(window().GatherSettings().mode, mode);
  }
  const std::tuple<QRadioButton*, PaletteId> palettes[] = {
      {c().paletteButtons.pepto, PaletteId::Pepto},
      {c().paletteButtons.deekay, PaletteId::Deekay},
      {c().paletteButtons.vice, PaletteId::Vice},
      {c().paletteButtons.frodo, PaletteId::Frodo},
      {c().paletteButtons.colodore, PaletteId::Colodore},
      {c().paletteButtons.custom, PaletteId::Custom}};
  for (const auto& [button, palette] : palettes) {
    button->setChecked(true);
    EXPECT_EQ(window().GatherSettings().palette, palette);
  }
  c().matchingButtons.rgbDistance->setChecked(true);
  EXPECT_EQ(window().GatherSettings().measure, Measure::RgbDistance);
  c().flickerButtons.light->setChecked(true);
  EXPECT_EQ(window().GatherSettings().flicker, FlickerLevel::Light);
  c().flickerButtons.heavy->setChecked(true);
  EXPECT_EQ(window().GatherSettings().flicker, FlickerLevel::Heavy);
}

}  // namespace
}  // namespace pavona
