// "Convert" from the window: the run on its worker thread, the controls it
// locks, its result against the headless run, and the hold buttons.
#include <QAbstractSlider>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <cstdlib>
#include <map>

#include "core/convert_run.h"
#include "core/test_picture.h"
#include "gui/emulator_launch.h"
#include "gui/gui_progress.h"
#include "gui/picture_area.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

// Every control of the main window that a user can operate, by name.
std::map<QString, bool> EnabledControls(const MainWindow& window)
{
  std::map<QString, bool> enabled;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    // The menu bar's own overflow button is none of ours, nor are the
    // picture area's scroll bars, which only move the view.
    const QWidget* pictureArea = window.Controls().pictureArea;
    if (widget->window() != &window || window.menuBar()->isAncestorOf(widget) ||
        (pictureArea->isAncestorOf(widget) &&
         !window.Controls().sourcePanel->isAncestorOf(widget))) {
      continue;
    }
    if (qobject_cast<QAbstractButton*>(widget) || qobject_cast<QAbstractSlider*>(widget) ||
        qobject_cast<QLineEdit*>(widget)) {
      // Spinner arrows have no names of their own: name them by their spinner.
      QString name = widget->objectName();
      if (name.isEmpty()) {
        name = widget->parentWidget()->objectName() + "/" + QString::number(enabled.size());
      }
      enabled[name] = widget->isEnabled();
    }
  }
  const MainWindowControls& c = window.Controls();
  for (QAction* action : {c.openAction, c.saveRawAction, c.saveProgramAction, c.saveC64FileAction,
                          c.exportPngAction, c.exitAction, c.aboutAction, c.stopAction}) {
    enabled[action->objectName()] = action->isEnabled();
  }
  return enabled;
}

struct DirectRun {
  std::unique_ptr<Workspace> workspace = std::make_unique<Workspace>();
  ConversionOutcome outcome;
};

// The headless run on a frame with the given settings.
DirectRun ConvertDirectly(const Picture& frame, const Settings& settings)
{
  DirectRun run;
  run.workspace->source = frame;
  SilentProgress silent;
  run.outcome = ConvertRun(*run.workspace, settings, silent);
  return run;
}

void ExpectSameConversion(const MainWindow& window, const DirectRun& direct)
{
  const Workspace& shown = window.workspace();
  EXPECT_TRUE(shown.c64 == direct.workspace->c64) << "C64 data differs";
  EXPECT_TRUE(shown.result == direct.workspace->result) << "result differs";
  EXPECT_TRUE(shown.dithered == direct.workspace->dithered) << "dithered picture differs";
  EXPECT_EQ(shown.converted, direct.workspace->converted);
  EXPECT_EQ(DifferingPixels(*window.Controls().resultView, direct.workspace->result), 0);
  EXPECT_EQ(window.Controls().errorValueLabel->text(),
            QString::number(direct.outcome.errorPercent));
}

TEST_F(ScriptedWindowTest, ConvertRunsOnAWorkerAndMatchesTheHeadlessRun)
{
  Click(c().testPictureButton);
  window().workspace().source.fill(0x123456);  // "Convert" reads the frame as shown
  const std::map<QString, bool> before = EnabledControls(window());
  ASSERT_FALSE(before.at("alternateXBox"));  // one a mode handler disabled
  ASSERT_TRUE(before.at("horizontalScroll"));
  ASSERT_FALSE(before.at("saveRawButton"));

  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  Click(c().convertButton);
  // The click has returned while the run goes on; everything that could
  // change its settings or its pictures is locked; only "Stop" comes on.
  EXPECT_TRUE(window().ConversionRunning());
  EXPECT_EQ(finished.count(), 0);
  for (const auto& [name, enabled] : EnabledControls(window())) {
    const bool on = name == "exitAction" || name == "aboutAction" || name == "stopButton" ||
                    name == "stopAction";
    EXPECT_EQ(enabled, on) << name.toStdString();
  }
  ASSERT_TRUE(finished.wait(300'000));
  EXPECT_FALSE(window().ConversionRunning());

  // Exactly the earlier states come back, and saving becomes possible.
  std::map<QString, bool> expected = before;
  for (const char* save :
       {"saveRawButton", "saveProgramButton", "saveRawAction", "saveProgramAction",
        "saveC64FileButton", "saveC64FileAction", "exportPngButton", "exportPngAction"}) {
    expected[save] = true;
  }
  // "Run in Emulator" needs the emulator as well.
  const char* path = std::getenv("PATH");
  expected["runEmulatorButton"] =
      FindEmulator(std::string(EmulatorProgram), path != nullptr ? path : "").has_value();
  EXPECT_EQ(EnabledControls(window()), expected);

  const DirectRun direct = ConvertDirectly(TestPictureFrame(), Settings{});
  ASSERT_GT(direct.outcome.changedPixels, 0);
  ExpectSameConversion(window(), direct);
  EXPECT_TRUE(window().workspace().conversionDone);
}

// The result where it equals the dithered picture, red where it does not.
Picture ErrorView(const Workspace& workspace)
{
  Picture view = workspace.result;
  for (int i = 0; i < PixelCount; ++i) {
    if (workspace.result[i] != workspace.dithered[i]) {
      view[i] = 0xFF0000;
    }
  }
  return view;
}

TEST_F(ScriptedWindowTest, HoldButtonsShowTheChangedPixelsAndTheDitheredPicture)
{
  Click(c().testPictureButton);
  // Before the first conversion they do nothing, with any mouse button.
  for (Qt::MouseButton mouse : {Qt::LeftButton, Qt::RightButton}) {
    for (QPushButton* hold : {c().holdErrorsButton, c().holdDitheredButton}) {
      SCOPED_TRACE(hold->text().toStdString());
      QTest::mousePress(hold, mouse);
      EXPECT_EQ(DifferingPixels(*c().resultView, Picture{}), 0);
      QTest::mouseRelease(hold, mouse);
      EXPECT_EQ(DifferingPixels(*c().resultView, Picture{}), 0);
    }
  }

  ASSERT_TRUE(ConvertAndWait());
  const Workspace& w = window().workspace();
  const Picture errors = ErrorView(w);
  ASSERT_NE(errors, w.result);
  ASSERT_NE(w.dithered, w.result);
  struct Row {
    const char* name;
    QPushButton* button;
    Qt::MouseButton mouse;
    const Picture& whileHeld;
  };
  const Row rows[] = {
      {"hold to show, left", c().holdErrorsButton, Qt::LeftButton, errors},
      {"hold to show, right", c().holdErrorsButton, Qt::RightButton, errors},
      {"pre-conversion, middle", c().holdDitheredButton, Qt::MiddleButton, w.dithered},
      {"pre-conversion, right", c().holdDitheredButton, Qt::RightButton, w.dithered},
      {"pre-conversion, left", c().holdDitheredButton, Qt::LeftButton, w.dithered}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QTest::mousePress(row.button, row.mouse);
    EXPECT_EQ(DifferingPixels(*c().resultView, row.whileHeld), 0);
    QTest::mouseRelease(row.button, row.mouse);
    EXPECT_EQ(DifferingPixels(*c().resultView, w.result), 0);
  }

  // A press pairs with one release: a second press while held paints
  // nothing, the first release ends the hold, and another release does
  // nothing. White marks what was not repainted.
  constexpr std::uint32_t White = 0xFFFFFF;
  Picture white;
  white.fill(White);
  QTest::mousePress(c().holdErrorsButton, Qt::LeftButton);
  c().resultView->Fill(White);
  QTest::mousePress(c().holdErrorsButton, Qt::RightButton, {}, QPoint(3, 3));
  EXPECT_EQ(DifferingPixels(*c().resultView, white), 0);
  QTest::mouseRelease(c().holdErrorsButton, Qt::RightButton, {}, QPoint(3, 3));
  EXPECT_EQ(DifferingPixels(*c().resultView, w.result), 0);
  c().resultView->Fill(White);
  QTest::mouseRelease(c().holdErrorsButton, Qt::LeftButton);
  EXPECT_EQ(DifferingPixels(*c().resultView, white), 0);
}

int MainWindowCount()
{
  const QWidgetList windows = QApplication::topLevelWidgets();
  return int(std::count_if(windows.begin(), windows.end(),
                           [](const QWidget* w) { return qobject_cast<const MainWindow*>(w); }));
}

// Told to stop, a run ends without a result: the window shows nothing new,
// keeps the previous conversion (here none) and gives the controls back.
TEST_F(ScriptedWindowTest, AStoppedConversionShowsNothingNew)
{
  Click(c().testPictureButton);
  Click(c().extraBruteForceBox);  // "Extra Brute Force": a run long enough to stop
  const QString errorText = c().errorValueLabel->text();
  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  Click(c().convertButton);
  ASSERT_TRUE(window().ConversionRunning());
  window().Progress().Stop();
  ASSERT_TRUE(finished.wait(300'000));
  EXPECT_FALSE(window().ConversionRunning());
  EXPECT_FALSE(window().workspace().conversionDone);
  EXPECT_FALSE(window().workspace().converted.has_value());
  EXPECT_EQ(c().errorValueLabel->text(), errorText);
  EXPECT_FALSE(c().saveRawButton->isEnabled()) << "nothing to save";
  EXPECT_TRUE(c().convertButton->isEnabled());
}

TEST_F(ScriptedWindowTest, ClosingTheWindowDuringAConversionStopsIt)
{
  auto window = std::make_unique<MainWindow>();
  window->show();
  Click(window->Controls().testPictureButton);
  Click(window->Controls().convertButton);
  ASSERT_TRUE(window->ConversionRunning());
  ASSERT_EQ(MainWindowCount(), 2);
  // The window is destroyed while the worker may still use its workspace
  // and report to its widgets, as when the program ends. (Closing it would
  // end the test program's event loops for good.)
  window.reset();
  // Whatever the run had queued for the widgets goes with them.
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(MainWindowCount(), 1);  // the fixture's own
}

// The methods added beside the original ones convert from the window as they
// do headless, in a mode with mixes and in one of wide pixels; the settings
// shown again select the same controls.
TEST_F(ScriptedWindowTest, NewDitherMethodsConvertAsHeadless)
{
  Click(c().testPictureButton);
  const struct {
    QRadioButton* mode;
    QRadioButton* method;
    bool balanced;
    int kernel;
    DitherMethod expected;
  } rows[] = {
      {c().modeButtons.hiresInterlaced, c().ditherButtons.ordered4x4, true, 0,
       DitherMethod::Ordered4x4Balanced},
      {c().modeButtons.hiresInterlaced, c().ditherButtons.kernel, false, 3, DitherMethod::Stucki},
      {c().modeButtons.multicolour, c().ditherButtons.kernel, true, 0, DitherMethod::Atkinson},
      // "Balanced" changes nothing but the ordered methods.
      {c().modeButtons.hiresStandard, c().ditherButtons.floydSteinberg, true, 2,
       DitherMethod::FloydSteinberg},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.expected));
    Click(row.mode);
    Click(row.method);
    c().balancedBox->setChecked(row.balanced);
    c().kernelList->setCurrentIndex(row.kernel);
    const Settings settings = window().GatherSettings();
    ASSERT_EQ(settings.dither.method, row.expected);
    ASSERT_TRUE(ConvertAndWait());
    ExpectSameConversion(window(), ConvertDirectly(window().workspace().source, settings));
    window().ShowSettings(Settings{});
    window().ShowSettings(settings);
    EXPECT_EQ(window().GatherSettings().dither.method, row.expected);
  }
  // Choosing a kernel from the list selects the button beside it.
  Click(c().ditherButtons.none);
  c().kernelList->setCurrentIndex(1);
  emit c().kernelList->activated(1);
  EXPECT_EQ(window().GatherSettings().dither.method, DitherMethod::SierraLite);
}

}  // namespace
}  // namespace pavona
