// "Save C64 File...", "Export PNG...", the guard that keeps every save off
// the loaded picture, and "Run in Emulator".
#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "c64/c64_files.h"
#include "c64/field_pictures.h"
#include "cli/cli_batch.h"
#include "gui/remembered_state.h"
#include "io/png_writer.h"
#include "plan/conversion_plan.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Bytes(const std::vector<std::uint8_t>& bytes)
{
  return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

class C64FileTest : public ScriptedWindowTest {
 protected:
  void SetUp() override
  {
    ScriptedWindowTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
  }

  QString Path(const QString& name) const { return dir_.filePath(name); }

  // The file of this type for the last conversion.
  QByteArray Expected(C64File file) const
  {
    const Workspace& w = const_cast<C64FileTest*>(this)->window().workspace();
    return Bytes(C64FileBytes(file, w.c64, PlanConversion(*w.converted).output));
  }

  // Loads a copy of a picture file from the test data, as the user would.
  // Returns the copy's path.
  QString LoadPicture(const QString& name)
  {
    const QString copy = Path(name);
    QFile::copy(QString(PAVONA_TEST_DATA_DIR) + "/coffee_frame.jpg", copy);
    prompts().answers = {copy};
    EXPECT_TRUE(LoadAndWait());
    return copy;
  }

 private:
  QTemporaryDir dir_;
};

// Each converted mode offers its editor format first; the extension of the
// name decides what is written, the chosen type's is added to a bare name.
TEST_F(C64FileTest, SaveC64FileOffersTheConvertedModesFormats)
{
  // Disabled before the first conversion, in the menu as on the button.
  EXPECT_FALSE(c().saveC64FileButton->isEnabled());
  EXPECT_FALSE(c().saveC64FileAction->isEnabled());
  c().saveC64FileAction->trigger();
  EXPECT_TRUE(prompts().saveQuestions.isEmpty());

  LoadPicture("holiday.photo.jpg");
  struct ModeRow {
    QRadioButton* button;
    const char* editorFilter;
    const char* extension;
  };
  const ModeRow modes[] = {
      {c().modeButtons.hiresStandard, "Art Studio (*.art)", ".art"},
      {c().modeButtons.hiresFliInterlace, "ECI Graphic Editor (*.eci)", ".eci"},
  };
  for (const ModeRow& mode : modes) {
    SCOPED_TRACE(mode.editorFilter);
    Click(mode.button);
    ASSERT_TRUE(ConvertAndWait());
    EXPECT_TRUE(c().saveC64FileButton->isEnabled());
    Click(c().modeButtons.hiresFli);  // the converted mode counts, not this one
    const QString filters =
        QString(mode.editorFilter) + ";;C64 program (*.prg);;Raw C64 data (*.raw)";

    prompts().saveQuestions.clear();
    prompts().replaceQuestions.clear();
    prompts().answers = {Path("bare"), Path("typed.PRG"), Path("raw"), Path("picture.png")};
    prompts().chosenFilters = {mode.editorFilter, mode.editorFilter, "Raw C64 data (*.raw)",
                               mode.editorFilter};
    // The second mode's "raw" becomes the first's raw.raw: replaced when the
    // user says so.
    prompts().replaceAnswers = {true};
    for (int save = 0; save < 4; ++save) {
      Click(c().saveC64FileButton);
    }
    // The picture's base name with the editor format's extension, in the
    // folder saved to last.
    const bool firstMode = mode.button == c().modeButtons.hiresStandard;
    const QString firstName = firstMode ? "holiday.photo" : Path("holiday.photo");
    EXPECT_EQ(prompts().saveQuestions,
              QStringList({firstName + mode.extension + " | " + filters,
                           Path("holiday.photo") + mode.extension + " | " + filters,
                           Path("holiday.photo") + mode.extension + " | " + filters,
                           Path("holiday.photo") + mode.extension + " | " + filters}));
    EXPECT_EQ(prompts().replaceQuestions,
              firstMode ? QStringList() : QStringList({Path("raw.raw")}));
    EXPECT_EQ(FileBytes(Path("bare") + mode.extension), Expected(C64File::Scene));
    EXPECT_EQ(FileBytes(Path("typed.PRG")), Expected(C64File::Program));
    EXPECT_EQ(FileBytes(Path("raw.raw")), Expected(C64File::Raw));
    // A name whose extension is no C64 file of the mode is refused.
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(prompts().errors[0].startsWith("Cannot save " + Path("picture.png")))
        << prompts().errors[0].toStdString();
    EXPECT_FALSE(QFile::exists(Path("picture.png")));
    prompts().errors.clear();
  }
  EXPECT_NE(FileBytes(Path("bare.art")), FileBytes(Path("bare.eci")));

  // A file that cannot be written says which and why.
  const QString unwritable = Path("no_such_folder/picture.prg");
  prompts().answers = {unwritable};
  c().saveC64FileAction->trigger();
  ASSERT_EQ(prompts().errors.size(), 1);
  EXPECT_TRUE(prompts().errors[0].contains(unwritable)) << prompts().errors[0].toStdString();
}

// Whatever the save and however the name is spelt, the loaded picture is
// never replaced; a name beside it is saved as usual.
TEST_F(C64FileTest, NoSaveReplacesTheLoadedPicture)
{
  const QString picture = LoadPicture("photo.prg");
  const QByteArray original = FileBytes(picture);
  ASSERT_FALSE(original.isEmpty());
  Click(c().modeButtons.hiresStandard);
  ASSERT_TRUE(ConvertAndWait());

  QDir().mkpath(Path("sub"));
  const QString otherSpelling = Path("sub/../photo.prg");
  QFile::link(picture, Path("link.prg"));
  struct SaveRow {
    const char* name;
    QAbstractButton* button;
    QString path;
  };
  const SaveRow saves[] = {
      {"raw", c().saveRawButton, picture},
      {"program", c().saveProgramButton, otherSpelling},
      {"C64 file", c().saveC64FileButton, Path("link.prg")},
      {"C64 file, bare name", c().saveC64FileButton, Path("photo")},
      {"PNG", c().exportPngButton, otherSpelling},
  };
  for (const SaveRow& save : saves) {
    SCOPED_TRACE(save.name);
    prompts().errors.clear();
    prompts().answers = {save.path};
    prompts().chosenFilters = {"C64 program (*.prg)"};
    Click(save.button);
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(
        prompts().errors[0].endsWith(": it is the picture being converted; choose another name"))
        << prompts().errors[0].toStdString();
    EXPECT_EQ(FileBytes(picture), original);
  }
  prompts().errors.clear();
  prompts().answers = {Path("photo.raw")};
  Click(c().saveRawButton);
  EXPECT_TRUE(prompts().errors.isEmpty());
  EXPECT_EQ(FileBytes(Path("photo.raw")), Expected(C64File::Raw));
}

// The pictures of the conversion as the command line writes them: the
// fields only for the interlaced modes, in the palette the conversion ran
// with even when another is selected now.
TEST_F(C64FileTest, ExportPngWritesThePicturesOfTheConversion)
{
  EXPECT_FALSE(c().exportPngButton->isEnabled());
  EXPECT_FALSE(c().exportPngAction->isEnabled());
  const QString picture = LoadPicture("holiday.photo.jpg");
  Click(c().paletteButtons.vice);
  ASSERT_TRUE(ConvertAndWait());
  EXPECT_TRUE(c().exportPngButton->isEnabled());
  Click(c().paletteButtons.frodo);
  Click(c().modeButtons.hiresFli);  // the converted mode counts, not this one

  const Workspace& w = window().workspace();
  const auto fields = std::make_unique<FieldPictures>(
      DecodeFields(w.c64, PlanConversion(*w.converted).output, PaletteColours(PaletteId::Vice)));
  ASSERT_NE(fields->field1, fields->field2);
  ASSERT_NE(w.result, w.dithered);
  struct Row {
    const char* filter;
    QString typed;
    QString written;
    const Picture& picture;
  };
  const Row rows[] = {
      {"Result (*.png)", Path("result"), Path("result.png"), w.result},
      {"Dithered (*.png)", Path("dithered.PNG"), Path("dithered.PNG"), w.dithered},
      {"Field 1 (*.png)", Path("one"), Path("one.png"), fields->field1},
      {"Field 2 (*.png)", Path("two.png"), Path("two.png"), fields->field2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.filter);
    prompts().saveQuestions.clear();
    prompts().answers = {row.typed};
    prompts().chosenFilters = {row.filter};
    // The dialog starts in the folder saved to last, as the other saves do.
    const QString folder = RememberedFolder(DialogFolder::Save);
    c().exportPngAction->trigger();
    EXPECT_EQ(prompts().saveQuestions,
              QStringList(InFolder(folder, "holiday.photo-result.png") +
                          " | Result (*.png);;Dithered (*.png);;Field 1 (*.png);;"
                          "Field 2 (*.png)"));
    EXPECT_EQ(FileBytes(row.written), Bytes(EncodePng(row.picture).bytes));
  }
  EXPECT_TRUE(prompts().errors.isEmpty());

  // The command line converts the same picture with the same settings into
  // the same files.
  cli::CliOptions options;
  options.inputs = {QFile::encodeName(picture).toStdString()};
  options.settings = *w.converted;
  options.outputs.resultPng = QFile::encodeName(Path("cli-result.png")).toStdString();
  options.outputs.ditheredPng = QFile::encodeName(Path("cli-dithered.png")).toStdString();
  options.outputs.field1Png = QFile::encodeName(Path("cli-one.png")).toStdString();
  options.outputs.field2Png = QFile::encodeName(Path("cli-two.png")).toStdString();
  options.quiet = true;
  std::ostringstream out;
  std::ostringstream errors;
  SilentProgress silent;
  ASSERT_EQ(cli::RunBatch(options, out, errors, silent), 0) << errors.str();
  EXPECT_EQ(FileBytes(Path("cli-result.png")), FileBytes(Path("result.png")));
  EXPECT_EQ(FileBytes(Path("cli-dithered.png")), FileBytes(Path("dithered.PNG")));
  EXPECT_EQ(FileBytes(Path("cli-one.png")), FileBytes(Path("one.png")));
  EXPECT_EQ(FileBytes(Path("cli-two.png")), FileBytes(Path("two.png")));

  // Without interlace both fields are the result: they are not offered.
  ASSERT_TRUE(ConvertAndWait());
  prompts().saveQuestions.clear();
  prompts().answers = {Path("fli")};
  Click(c().exportPngButton);
  EXPECT_EQ(prompts().saveQuestions,
            QStringList(InFolder(RememberedFolder(DialogFolder::Save), "holiday.photo-result.png") +
                        " | Result (*.png);;Dithered (*.png)"));
  EXPECT_EQ(FileBytes(Path("fli.png")), Bytes(EncodePng(w.result).bytes));

  // A file that cannot be written says which.
  prompts().answers = {Path("no_such_folder/picture.png")};
  Click(c().exportPngButton);
  ASSERT_EQ(prompts().errors.size(), 1);
  EXPECT_TRUE(prompts().errors[0].contains(Path("no_such_folder/picture.png")))
      << prompts().errors[0].toStdString();
}

// A folder that stands for PATH while the test runs, where a stand-in for
// the emulator can be put.
class EmulatorButtonTest : public C64FileTest {
 protected:
  void SetUp() override
  {
    C64FileTest::SetUp();
    const char* path = std::getenv("PATH");
    savedPath_ = path != nullptr ? path : "";
    QDir().mkpath(Path("bin"));
    setenv("PATH", QFile::encodeName(Path("bin")).constData(), 1);
  }
  void TearDown() override
  {
    setenv("PATH", savedPath_.c_str(), 1);
    C64FileTest::TearDown();
  }

  // Copies the program it is given and says it is done. Put in place whole:
  // a stand-in still running goes on reading its own file.
  void MakeStandIn(const QByteArray& firstLine)
  {
    QFile script(Path("x64sc.new"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(firstLine + "\nPATH=/usr/bin:/bin\n" + "cp \"$2\" '" +
                 QFile::encodeName(Path("program.prg")) + "'\ntouch '" +
                 QFile::encodeName(Path("done")) + "'\n");
    script.close();
    chmod(QFile::encodeName(script.fileName()).constData(), 0755);
    ASSERT_EQ(std::rename(QFile::encodeName(script.fileName()).constData(),
                          QFile::encodeName(Path("bin/x64sc")).constData()),
              0);
  }

  bool WaitForStandIn()
  {
    return QTest::qWaitFor([this] { return QFile::exists(Path("done")); }, 5000);
  }

 private:
  std::string savedPath_;
};

TEST_F(EmulatorButtonTest, RunInEmulatorNeedsAConversionAndTheEmulator)
{
  const QPushButton* button = c().runEmulatorButton;
  MakeStandIn("#!/bin/sh");
  Click(c().testPictureButton);
  Click(c().modeButtons.hiresStandard);
  // Not before a conversion, even with the emulator at hand.
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(button->toolTip(), "Convert a picture first");

  // Not without the emulator on PATH.
  QFile::remove(Path("bin/x64sc"));
  ASSERT_TRUE(ConvertAndWait());
  EXPECT_FALSE(button->isEnabled());
  EXPECT_EQ(button->toolTip(), "VICE's x64sc was not found on the PATH");

  // With both, the emulator starts the program file of the conversion.
  MakeStandIn("#!/bin/sh");
  ASSERT_TRUE(ConvertAndWait());
  ASSERT_TRUE(button->isEnabled());
  Click(c().runEmulatorButton);
  ASSERT_TRUE(WaitForStandIn());
  EXPECT_TRUE(prompts().errors.isEmpty()) << prompts().errors.join("\n").toStdString();
  EXPECT_EQ(FileBytes(Path("program.prg")), Expected(C64File::Program));

  // An emulator that cannot start says so.
  MakeStandIn("#!/nonexistent/interpreter");
  Click(c().runEmulatorButton);
  ASSERT_EQ(prompts().errors.size(), 1);
  EXPECT_EQ(prompts().errors[0],
            "Cannot start " + Path("bin/x64sc") + ": No such file or directory");
}

// The multicolour modes convert from their buttons, save their editor files,
// and leave Refine and the hires field options off with the reason shown.
TEST_F(C64FileTest, MulticolourModesSaveTheirEditorFiles)
{
  LoadPicture("photo.jpg");
  struct ModeRow {
    QRadioButton* button;
    const char* editorFilter;
    const char* extension;
    bool interlaced;
  };
  const ModeRow modes[] = {
      {c().modeButtons.multicolour, "Koala Painter (*.kla)", ".kla", false},
      {c().modeButtons.multicolourFli, "FLI Graph (*.fli)", ".fli", false},
      {c().modeButtons.multicolourInterlace, "True Paint (*.mci)", ".mci", true},
  };
  for (const ModeRow& mode : modes) {
    SCOPED_TRACE(mode.editorFilter);
    Click(mode.button);
    EXPECT_FALSE(c().refineBox->isEnabled());
    EXPECT_TRUE(c().refineBox->toolTip().contains("hires modes"))
        << c().refineBox->toolTip().toStdString();
    EXPECT_FALSE(c().sameBanksBox->isEnabled());
    EXPECT_EQ(c().fieldPreviewButton->isEnabled(), mode.interlaced);
    ASSERT_TRUE(ConvertAndWait());
    const QString name = Path(QString("picture") + mode.extension);
    prompts().answers = {name};
    prompts().chosenFilters = {mode.editorFilter};
    Click(c().saveC64FileButton);
    EXPECT_EQ(FileBytes(name), Expected(C64File::Scene));
    EXPECT_TRUE(prompts().errors.isEmpty());
  }
  Click(c().modeButtons.hiresStandard);
  EXPECT_TRUE(c().refineBox->isEnabled());
}

}  // namespace
}  // namespace pavona
