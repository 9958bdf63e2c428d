// What the window keeps between runs: the folders its dialogs last opened
// from and saved to, and its size and position. Each test starts with
// nothing remembered (MainWindowTest clears the settings of the run).
#include "gui/remembered_state.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include "gui/placement_panel.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class RememberedStateTest : public ScriptedWindowTest {
 protected:
  void SetUp() override
  {
    ScriptedWindowTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    QDir(dir_.path()).mkpath("photos");
  }

  QString Path(const QString& name) const { return dir_.filePath(name); }

  // A copy of a picture file from the test data, under `name`.
  QString CopyPicture(const QString& name)
  {
    const QString copy = Path(name);
    EXPECT_TRUE(QFile::copy(QString(PAVONA_TEST_DATA_DIR) + "/coffee_frame.jpg", copy));
    return copy;
  }

  // A second window, as the program would start again, with scripted prompts.
  std::unique_ptr<MainWindow> Restart()
  {
    auto window = std::make_unique<MainWindow>();
    auto prompts = std::make_unique<ScriptedPrompts>();
    restartPrompts = prompts.get();
    window->SetPrompts(std::move(prompts));
    return window;
  }

  ScriptedPrompts* restartPrompts = nullptr;

 private:
  QTemporaryDir dir_;
};

// A picture opened in any way makes its folder the one the open dialogs
// (pictures and palettes) start in, in this run and the next.
TEST_F(RememberedStateTest, OpenDialogsStartInTheFolderOpenedFromLast)
{
  const QString photo = CopyPicture("photos/beach.jpg");
  prompts().answers = {photo};
  ASSERT_TRUE(LoadAndWait());
  Click(c().loadPictureButton);  // cancelled
  Click(c().loadPaletteButton);  // cancelled
  const QString folder = QFileInfo(photo).absolutePath();
  EXPECT_EQ(prompts().openQuestions,
            QStringList({" | Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)",
                         folder + " | Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)",
                         folder + "/*.vpl | VICE palette (*.vpl)"}));

  // A file that cannot be read moves nothing; a palette file that can does.
  QFile::copy(QString(PAVONA_TEST_DATA_DIR) + "/colodore.vpl", Path("colodore.vpl"));
  prompts().answers = {Path("no_such.jpg"), Path("colodore.vpl")};
  ASSERT_TRUE(LoadAndWait());
  EXPECT_EQ(RememberedFolder(DialogFolder::Open), folder);
  Click(c().loadPaletteButton);
  EXPECT_EQ(RememberedFolder(DialogFolder::Open), QFileInfo(Path("x")).absolutePath());

  // A folder that has gone is forgotten rather than offered.
  RememberFolderOf(DialogFolder::Open, photo);
  const auto next = Restart();
  QDir(folder).removeRecursively();
  Click(next->Controls().loadPictureButton);
  EXPECT_EQ(restartPrompts->openQuestions,
            QStringList({" | Pictures (*.jpg *.jpeg *.bmp *.png);;All files (*)"}));
}

// The save dialogs suggest the picture's name with their extension in the
// folder saved to last; an added extension never replaces a file silently,
// nor the loaded picture.
TEST_F(RememberedStateTest, SavesSuggestTheNameAndNeverReplaceUnasked)
{
  // A JPEG named like raw data: the one file no save may touch.
  const QString picture = CopyPicture("photos/shot.raw");
  const QByteArray original = FileBytes(picture);
  prompts().answers = {picture};
  ASSERT_TRUE(LoadAndWait());
  ASSERT_TRUE(ConvertAndWait());

  struct Row {
    const char* name;
    QString typed;
    std::deque<bool> replace;
    QString question;  // the file the user is asked about, if any
    QString written;   // the file written, if any
    bool refused;      // the loaded picture's own name
  };
  QFile::copy(picture, Path("old.prg"));
  const Row rows[] = {
      {"bare name onto the picture", Path("photos/shot"), {}, "", "", true},
      {"bare name, new file", Path("new"), {}, "", Path("new.raw"), false},
      {"bare name onto a file, kept", Path("old"), {false}, Path("old.prg"), "", false},
      {"bare name onto a file, replaced",
       Path("old"),
       {true},
       Path("old.prg"),
       Path("old.prg"),
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    prompts().errors.clear();
    prompts().replaceQuestions.clear();
    prompts().answers = {row.typed};
    prompts().replaceAnswers = row.replace;
    const QString extension = QString(row.name).contains("onto a file") ? ".prg" : ".raw";
    const QByteArray before = FileBytes(row.typed + extension);
    Click(extension == ".prg" ? c().saveProgramButton : c().saveRawButton);
    EXPECT_EQ(prompts().replaceQuestions,
              row.question.isEmpty() ? QStringList() : QStringList({row.question}));
    EXPECT_EQ(prompts().errors.size(), row.refused ? 1 : 0);
    if (row.written.isEmpty()) {
      EXPECT_EQ(FileBytes(row.typed + extension), before);
    } else {
      EXPECT_NE(FileBytes(row.written), before);
      EXPECT_EQ(FileBytes(row.written).size(),
                extension == ".prg" ? 770 + C64DataSize : C64DataSize);
    }
  }
  EXPECT_EQ(FileBytes(picture), original);
  EXPECT_FALSE(QFile::exists(Path("photos/shot")));

  // Later saves suggest the picture's name in the folder saved to last.
  prompts().answers = {QString()};
  Click(c().saveRawButton);
  EXPECT_EQ(prompts().saveQuestions.last(), Path("shot.raw") + " | Raw C64 data (*.raw)");
}

// "Exit" ends the application's event loop. With none running, the request
// would end every event loop a later test starts at once (the wait for a
// signal among them); one is run here for it to end.
void LetTheExitHappen()
{
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
}

// Closed by its frame or by "Exit".
TEST_F(RememberedStateTest, TheWindowReopensWhereItWasClosed)
{
  struct Row {
    const char* name;
    QRect geometry;
    bool byExit;
  };
  const Row rows[] = {{"closed", QRect(40, 30, 1200, 700), false},
                      {"File, Exit", QRect(60, 50, 1000, 700), true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    QSettings().clear();
    const auto first = Restart();
    first->show();
    first->setGeometry(row.geometry);
    QCoreApplication::processEvents();
    const QRect closedAt = first->geometry();
    if (row.byExit) {
      first->Controls().exitAction->trigger();
      LetTheExitHappen();
    } else {
      first->close();
    }
    const auto next = Restart();
    EXPECT_EQ(next->size(), row.geometry.size());
    EXPECT_EQ(next->geometry(), closedAt);
  }
}

// The placement chosen last is where the next start begins; a first start
// (nothing remembered) begins with the cut-out, as the command line does.
TEST_F(RememberedStateTest, TheNextStartKeepsThePlacementChosenLast)
{
  EXPECT_TRUE(c().placement.cutout->isChecked());
  struct Row {
    QRadioButton* PlacementControls::*button;
    bool square;
  };
  for (const Row row : {Row{&PlacementControls::fill, true}, Row{&PlacementControls::fit, false},
                        Row{&PlacementControls::cutout, false}}) {
    c().placement.squarePixelsBox->setChecked(row.square);
    (c().placement.*row.button)->setChecked(true);
    const auto next = Restart();
    const PlacementControls& placement = next->Controls().placement;
    SCOPED_TRACE((placement.*row.button)->text().toStdString());
    EXPECT_TRUE((placement.*row.button)->isChecked());
    EXPECT_EQ(placement.squarePixelsBox->isChecked(), row.square);
  }
}

}  // namespace
}  // namespace pavona
