// "Live" converts again after every change, with the same result as
// "Convert"; "Stop" ends a run and keeps the previous result.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>

#include "core/convert_run.h"
#include "gui/conversion_controller.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

const QString Photo = QString(PAVONA_TEST_DATA_DIR) + "/coffee_frame.jpg";

// What a run leaves for saving and showing, compared between two windows.
void ExpectSameConversion(const MainWindow& live, const MainWindow& converted)
{
  const Workspace& a = live.workspace();
  const Workspace& b = converted.workspace();
  ASSERT_TRUE(a.conversionDone);
  EXPECT_EQ(a.converted, b.converted);
  EXPECT_TRUE(a.c64 == b.c64) << "C64 data differs";
  EXPECT_TRUE(a.result == b.result) << "result differs";
  EXPECT_TRUE(a.dithered == b.dithered) << "dithered picture differs";
  EXPECT_EQ(DifferingPixels(*live.Controls().resultView, b.result), 0);
  EXPECT_EQ(live.Controls().errorValueLabel->text(), converted.Controls().errorValueLabel->text());
}

// Settings away from the defaults, one typed into its field.
void ChooseSettings(const MainWindowControls& c)
{
  c.modeButtons.hiresFli->setChecked(true);
  c.ditherButtons.floydSteinberg->setChecked(true);
  c.adjustment.contrast.field->selectAll();
  QTest::keyClicks(c.adjustment.contrast.field, "-30");
}

bool WaitForConversion(MainWindow& window)
{
  QSignalSpy finished(&window, &MainWindow::ConversionFinished);
  return finished.wait(300'000);
}

// A second window converts with "Convert"; the fixture's converts live.
class LiveConversionTest : public ScriptedWindowTest {
 protected:
  void SetUp() override
  {
    ScriptedWindowTest::SetUp();
    converted_ = std::make_unique<MainWindow>();
    QSignalSpy otherLoaded(converted_.get(), &MainWindow::PictureLoadFinished);
    converted_->OpenPicture(Photo);
    ASSERT_TRUE(otherLoaded.wait(60'000));
    ASSERT_TRUE(OpenAndWait([this] { window().OpenPicture(Photo); }));
  }

  MainWindow& converted() { return *converted_; }

  bool ConvertInTheOtherWindow()
  {
    QSignalSpy finished(converted_.get(), &MainWindow::ConversionFinished);
    converted_->Controls().convertButton->click();
    return finished.wait(300'000);
  }

 private:
  std::unique_ptr<MainWindow> converted_;
};

TEST_F(LiveConversionTest, LiveGivesTheSameConversionAsConvert)
{
  ChooseSettings(c());
  ChooseSettings(converted().Controls());
  ASSERT_EQ(window().GatherSettings(), converted().GatherSettings());
  // Nothing converts while "Live" is off: the changes start no pause.
  EXPECT_FALSE(window().Conversion().Live().Waiting());
  EXPECT_FALSE(window().AnyRunGoing());
  EXPECT_FALSE(window().workspace().conversionDone);

  // Switched on, it converts the settings as they are, without locking them.
  Click(c().liveBox);
  ASSERT_TRUE(WaitForConversion(window()));
  ASSERT_TRUE(ConvertInTheOtherWindow());
  ExpectSameConversion(window(), converted());

  // Each change converts again, after the run before it.
  struct Row {
    const char* name;
    void (*change)(const MainWindowControls&);
  };
  const Row rows[] = {
      {"a mode", [](const MainWindowControls& c) { Click(c.modeButtons.hiresInterlaced); }},
      {"a track bar", [](const MainWindowControls& c) { c.adjustment.red.trackBar->setValue(40); }},
      {"a typed number",
       [](const MainWindowControls& c) {
         c.adjustment.brightness.field->selectAll();
         QTest::keyClicks(c.adjustment.brightness.field, "-12");
       }},
      {"a spinner's typed number",
       [](const MainWindowControls& c) {
         c.valueAmpField->selectAll();
         QTest::keyClicks(c.valueAmpField, "3");
         QTest::keyClick(c.valueAmpField, Qt::Key_Return);
       }},
      {"the source frame", [](const MainWindowControls& c) { Click(c.testPictureButton); }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    row.change(c());
    ASSERT_TRUE(WaitForConversion(window()));
    row.change(converted().Controls());
    ASSERT_TRUE(ConvertInTheOtherWindow());
    ExpectSameConversion(window(), converted());
  }

  // A sign on the way to a number is no value to convert with.
  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  c().strengthField->selectAll();
  QTest::keyClicks(c().strengthField, "-");
  EXPECT_FALSE(window().Conversion().Live().Waiting());
  EXPECT_EQ(finished.count(), 0);
  EXPECT_FALSE(window().AnyRunGoing());
}

// A change while a run goes stops it; only the run with the newest settings
// shows its result, and the one it overtook leaves nothing behind.
TEST_F(LiveConversionTest, ANewerChangeOvertakesTheRunGoing)
{
  // Random dithering moves the generator on: a run that was overtaken and
  // still committed would change the next one's result.
  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  c().ditherButtons.random->setChecked(true);
  c().extraBruteForceBox->setChecked(true);
  window().ConvertLive();
  ASSERT_TRUE(window().AnyRunGoing());
  EXPECT_FALSE(window().ConversionRunning()) << "a live run locks nothing";
  EXPECT_TRUE(c().modeButtons.hiresFli->isEnabled());
  c().modeButtons.hiresFli->setChecked(true);
  window().ConvertLive();
  ASSERT_TRUE(finished.wait(300'000));
  EXPECT_FALSE(window().AnyRunGoing());
  EXPECT_EQ(finished.count(), 1);

  const MainWindowControls& other = converted().Controls();
  other.ditherButtons.random->setChecked(true);
  other.extraBruteForceBox->setChecked(true);
  other.modeButtons.hiresFli->setChecked(true);
  ASSERT_TRUE(ConvertInTheOtherWindow());
  ExpectSameConversion(window(), converted());
}

// Esc while "Convert" runs: the run ends without a result, the previous one
// stays in the workspace and in sight, and the controls come back.
TEST_F(ScriptedWindowTest, StopEndsARunAndKeepsThePreviousResult)
{
  ASSERT_TRUE(OpenAndWait([this] { window().OpenPicture(Photo); }));
  ASSERT_TRUE(ConvertAndWait());
  const auto previous = std::make_unique<Picture>(window().workspace().result);
  const auto previousData = std::make_unique<C64Data>(window().workspace().c64);
  const QString errorText = c().errorValueLabel->text();
  EXPECT_FALSE(c().stopButton->isEnabled());
  EXPECT_FALSE(c().stopAction->isEnabled());

  window().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  Click(c().extraBruteForceBox);
  Click(c().modeButtons.hiresFli);
  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  Click(c().convertButton);
  ASSERT_TRUE(window().ConversionRunning());
  EXPECT_TRUE(c().stopButton->isEnabled());
  QTest::keyClick(&window(), Qt::Key_Escape);
  ASSERT_TRUE(finished.wait(300'000));

  EXPECT_FALSE(window().ConversionRunning());
  EXPECT_EQ(c().statusText->text(), "Conversion stopped");
  EXPECT_TRUE(window().workspace().result == *previous);
  EXPECT_TRUE(window().workspace().c64 == *previousData);
  EXPECT_EQ(window().workspace().converted, Settings{});
  EXPECT_EQ(DifferingPixels(*c().resultView, *previous), 0);
  EXPECT_EQ(c().errorValueLabel->text(), errorText);
  EXPECT_FALSE(c().stopButton->isEnabled());
  EXPECT_TRUE(c().convertButton->isEnabled());
  EXPECT_TRUE(c().saveRawButton->isEnabled());

  // The next run is not stopped by the last one's stop.
  ASSERT_TRUE(ConvertAndWait());
  EXPECT_TRUE(window().workspace().converted->extraBruteForce);
}

}  // namespace
}  // namespace pavona
