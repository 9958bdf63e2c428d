// Opening a picture without the dialog: dropped on the window, or named on
// the command line.
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include "framing/source_frame.h"
#include "gui/start_arguments.h"
#include "io/picture_file.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

const QString DataDir = PAVONA_TEST_DATA_DIR;

// Drags `data` over the window and drops it, as a file manager would;
// whether the window accepted the drag.
bool DragAndDrop(MainWindow& window, const QMimeData& data)
{
  const QPoint centre = window.rect().center();
  QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  if (!enter.isAccepted()) {
    return false;
  }
  QDropEvent drop(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &drop);
  return drop.isAccepted();
}

std::unique_ptr<QMimeData> Files(const QList<QUrl>& urls)
{
  auto data = std::make_unique<QMimeData>();
  data->setUrls(urls);
  return data;
}

TEST_F(ScriptedWindowTest, ADroppedPictureFileIsOpened)
{
  const QString coffee = DataDir + "/coffee_frame.jpg";
  bool accepted = false;
  ASSERT_TRUE(OpenAndWait(
      [&] { accepted = DragAndDrop(window(), *Files({QUrl::fromLocalFile(coffee)})); }));
  ASSERT_TRUE(accepted);
  const PictureFileResult read = ReadPictureFile(coffee.toStdString());
  ASSERT_TRUE(read.Ok());
  EXPECT_EQ(DifferingPixels(*c().sourceView, FrameFromPicture(read.picture, 0, 0)), 0);
  EXPECT_TRUE(c().convertButton->isEnabled());
  EXPECT_EQ(c().statusText->text(), "Loaded coffee_frame.jpg, 320 x 200, Cut-out 1:1");
  EXPECT_TRUE(prompts().errors.isEmpty());
  EXPECT_TRUE(prompts().openQuestions.isEmpty());  // no dialog
}

// Only one local file is taken; a file that cannot be read says why, as
// from the dialog, and changes nothing.
TEST_F(ScriptedWindowTest, OnlyOneLocalFileIsTakenFromADrop)
{
  Click(c().testPictureButton);
  const Picture shown = c().sourceView->ShownPicture();
  const QString coffee = DataDir + "/coffee_frame.jpg";
  auto text = std::make_unique<QMimeData>();
  text->setText(coffee);
  struct Row {
    const char* name;
    std::unique_ptr<QMimeData> data;
    bool accepted;
    QString error;  // a part of the error shown, empty for none
  };
  Row rows[] = {
      {"text, not a file", std::move(text), false, {}},
      {"two files",
       Files({QUrl::fromLocalFile(coffee), QUrl::fromLocalFile(DataDir + "/tiny.bmp")}),
       false,
       {}},
      {"a remote picture", Files({QUrl("https://example.com/photo.jpg")}), false, {}},
      {"not a picture", Files({QUrl::fromLocalFile(DataDir + "/not_a_picture.txt")}), true,
       "not a JPEG, bitmap or PNG"},
      {"a missing file", Files({QUrl::fromLocalFile(DataDir + "/no_such_photo.jpg")}), true,
       "no_such_photo.jpg"},
  };
  for (Row& row : rows) {
    SCOPED_TRACE(row.name);
    prompts().errors.clear();
    bool accepted = false;
    const auto drop = [&] { accepted = DragAndDrop(window(), *row.data); };
    if (row.accepted) {
      ASSERT_TRUE(OpenAndWait(drop));
    } else {
      drop();
    }
    EXPECT_EQ(accepted, row.accepted);
    if (row.error.isEmpty()) {
      EXPECT_TRUE(prompts().errors.isEmpty());
    } else {
      ASSERT_EQ(prompts().errors.size(), 1);
      EXPECT_TRUE(prompts().errors[0].contains(row.error)) << prompts().errors[0].toStdString();
    }
    EXPECT_EQ(c().sourceView->ShownPicture(), shown);
    EXPECT_EQ(c().statusText->text(), "Loaded internal test image");
  }
}

TEST(StartArguments, OneOptionalPictureAndHelp)
{
  using Action = StartArguments::Action;
  struct Row {
    const char* name;
    QStringList arguments;
    Action action;
    QString picture;
    QString message;  // a part of it
  };
  const Row rows[] = {
      {"nothing", {}, Action::OpenWindow, "", ""},
      {"a picture", {"photo.jpg"}, Action::OpenWindow, "photo.jpg", ""},
      {"a name with a dash after --", {"--", "-dark.jpg"}, Action::OpenWindow, "-dark.jpg", ""},
      {"two pictures", {"a.jpg", "b.jpg"}, Action::UsageError, "", "usage: pavona [PICTURE]"},
      {"an unknown option", {"--zoom", "a.jpg"}, Action::UsageError, "", "unknown option --zoom"},
      {"help", {"--help"}, Action::PrintUsage, "", "usage: pavona [PICTURE]"},
      {"help, short", {"a.jpg", "-h"}, Action::PrintUsage, "", "usage: pavona [PICTURE]"},
      // Before Qt takes its own options out, help is still found.
      {"help among errors", {"-platform", "x", "y", "--help"}, Action::PrintUsage, "", "usage"},
      {"a file named --help", {"--", "--help"}, Action::OpenWindow, "--help", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const StartArguments start = ParseStartArguments(row.arguments);
    EXPECT_EQ(start.action, row.action);
    EXPECT_EQ(start.picture, row.picture);
    EXPECT_TRUE(start.message.contains(row.message)) << start.message.toStdString();
    EXPECT_EQ(start.message.isEmpty(), row.action == Action::OpenWindow);
  }
}

}  // namespace
}  // namespace pavona
