// "Export PNG..." suggests a name of its own for each picture, so that
// exporting one picture after another never offers to write over the first.
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include "gui/remembered_state.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

using ExportNamesTest = ScriptedWindowTest;

TEST_F(ExportNamesTest, EachPictureIsOfferedItsOwnName)
{
  const QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  RememberFolderOf(DialogFolder::Save, dir.filePath("earlier.prg"));
  Click(c().testPictureButton);
  ASSERT_TRUE(ConvertAndWait());
  const QString suggested = dir.filePath("test-picture-result.png");
  struct Row {
    const char* filter;
    const char* written;
  };
  for (const Row& row : {Row{"Result (*.png)", "test-picture-result.png"},
                         Row{"Dithered (*.png)", "test-picture-dithered.png"},
                         Row{"Field 1 (*.png)", "test-picture-field1.png"},
                         Row{"Field 2 (*.png)", "test-picture-field2.png"}}) {
    SCOPED_TRACE(row.filter);
    prompts().saveQuestions.clear();
    // The suggested name is kept and another picture chosen.
    prompts().answers = {suggested};
    prompts().chosenFilters = {row.filter};
    Click(c().exportPngButton);
    ASSERT_EQ(prompts().saveQuestions.size(), 1);
    EXPECT_TRUE(prompts().saveQuestions[0].startsWith(suggested + " | "));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(row.written)));
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
  EXPECT_TRUE(prompts().replaceQuestions.isEmpty());
  EXPECT_TRUE(prompts().errors.isEmpty());
}

}  // namespace
}  // namespace pavona
