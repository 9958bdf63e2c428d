// The keys of the main window's commands, pressed on the real window.
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

#include "gui/about_window.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

class ShortcutTest : public ScriptedWindowTest {
 protected:
  void SetUp() override
  {
    ScriptedWindowTest::SetUp();
    window().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
  }

  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
  {
    QTest::keyClick(&window(), key, modifiers);
  }
};

TEST_F(ShortcutTest, KeysTriggerTheirCommands)
{
  // Nothing to convert or save yet: the keys do nothing.
  Press(Qt::Key_Return);
  EXPECT_FALSE(window().AnyRunGoing());
  Press(Qt::Key_S);
  Press(Qt::Key_E);
  EXPECT_TRUE(prompts().saveQuestions.isEmpty());

  prompts().answers = {QString(PAVONA_TEST_DATA_DIR) + "/coffee_frame.jpg"};
  ASSERT_TRUE(OpenAndWait([this] { Press(Qt::Key_O); }));
  ASSERT_EQ(prompts().openQuestions.size(), 1);
  EXPECT_TRUE(window().workspace().loaded.width > 0);

  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  Press(Qt::Key_Return);
  EXPECT_TRUE(window().ConversionRunning());
  ASSERT_TRUE(finished.wait(300'000));
  Press(Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_TRUE(window().ConversionRunning());
  ASSERT_TRUE(finished.wait(300'000));

  // The dialog answers are cancelled: only the questions count.
  Press(Qt::Key_S);
  ASSERT_EQ(prompts().saveQuestions.size(), 1);
  EXPECT_TRUE(prompts().saveQuestions[0].contains("ECI Graphic Editor (*.eci)"));
  Press(Qt::Key_E);
  ASSERT_EQ(prompts().saveQuestions.size(), 2);
  EXPECT_TRUE(prompts().saveQuestions[1].contains("Result (*.png)"));

  // Ending the program would end the test's event loops too: the key is
  // checked to reach the action, without its effect.
  QObject::disconnect(c().exitAction, &QAction::triggered, nullptr, nullptr);
  QSignalSpy exits(c().exitAction, &QAction::triggered);
  Press(Qt::Key_Q);
  EXPECT_EQ(exits.count(), 1);

  // About is modal: it is closed as soon as it shows. (Last: the offscreen
  // platform leaves it the active window.)
  bool aboutShown = false;
  QTimer::singleShot(0, &window(), [this, &aboutShown] {
    aboutShown = window().About().isVisible();
    window().About().close();
  });
  Press(Qt::Key_F1, Qt::NoModifier);
  EXPECT_TRUE(aboutShown);
}

// The letter after '&' presses a button with Alt, as the caption shows it
// underlined; the press is animated, so the click comes a moment later.
TEST_F(ShortcutTest, MnemonicsPressTheirButtons)
{
  Press(Qt::Key_L, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return c().liveBox->isChecked(); }));
  QSignalSpy finished(&window(), &MainWindow::ConversionFinished);
  Press(Qt::Key_T, Qt::AltModifier);  // "Internal Test Image", converted live
  ASSERT_TRUE(finished.wait(300'000));
  EXPECT_TRUE(window().workspace().conversionDone);
}

}  // namespace
}  // namespace pavona
