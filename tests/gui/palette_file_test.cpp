// "Colodore" and palettes read from files: "Load Palette..." selects "Custom",
// which then works like a built-in palette, and a bad file changes nothing.
#include <sys/stat.h>

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <set>

#include "colour/flicker_reduction.h"
#include "gui/preview_windows.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

// Colours no built-in palette has: colour n is n * 0x0F0B07.
C64Palette FilePalette()
{
  C64Palette colours{};
  for (std::uint32_t n = 0; n < 16; ++n) {
    colours[n] = n * 0x0F0B07u;
  }
  return colours;
}

QString WriteText(const QTemporaryDir& dir, const QString& name, const QByteArray& text)
{
  QFile file(dir.filePath(name));
  EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
  return file.fileName();
}

QByteArray PaletteText(const C64Palette& colours)
{
  QByteArray text = "# written by the test\n";
  for (std::uint32_t colour : colours) {
    text += QByteArray::number(colour >> 16, 16) + " " +
            QByteArray::number((colour >> 8) & 0xFF, 16) + " " +
            QByteArray::number(colour & 0xFF, 16) + " 0\n";
  }
  return text;
}

MixTable TableOf(const C64Palette& colours, GraphicMode mode, FlickerLevel level)
{
  MixTable table;
  BuildMixPalette(table, colours, MixMethod::Rgb, mode);
  ReduceFlicker(table, level);
  return table;
}

TEST_F(MainWindowTest, ColodoreIsABuiltInPalette)
{
  Click(c().paletteButtons.colodore);
  EXPECT_EQ(window().GatherSettings().palette, PaletteId::Colodore);
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Colodore));
  ExpectMixTableShown(window(), ReducedTable(PaletteId::Colodore, MixMethod::Rgb,
                                             GraphicMode::HiresFliInterlace, FlickerLevel::Medium));
}

TEST_F(ScriptedWindowTest, ALoadedPaletteIsSelectedAndUsedLikeABuiltInOne)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = WriteText(dir, "mine.vpl", PaletteText(FilePalette()));
  Click(c().mixButtons.yuv);

  // A cancelled dialog changes nothing.
  prompts().answers = {QString()};
  Click(c().loadPaletteButton);
  EXPECT_EQ(prompts().openQuestions, QStringList({"*.vpl | VICE palette (*.vpl)"}));
  EXPECT_FALSE(c().paletteButtons.custom->isEnabled());
  EXPECT_TRUE(c().paletteButtons.pepto->isChecked());

  // Read: "Custom" is selected with the file's colours, and like any palette
  // it switches back to "RGB Mix" and shows its table.
  prompts().answers = {path};
  Click(c().loadPaletteButton);
  EXPECT_TRUE(prompts().errors.isEmpty()) << prompts().errors.join("\n").toStdString();
  EXPECT_TRUE(c().paletteButtons.custom->isEnabled());
  EXPECT_TRUE(c().paletteButtons.custom->isChecked());
  EXPECT_TRUE(c().mixButtons.rgb->isChecked());
  const Settings settings = window().GatherSettings();
  EXPECT_EQ(settings.palette, PaletteId::Custom);
  EXPECT_EQ(settings.customPalette, FilePalette());
  EXPECT_EQ(window().workspace().palette, FilePalette());
  ExpectMixTableShown(window(),
                      TableOf(FilePalette(), GraphicMode::HiresFliInterlace, FlickerLevel::Medium));

  // Another palette and back: the colours stay at hand; "Defaults" keeps
  // them too.
  Click(c().paletteButtons.vice);
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Vice));
  Click(c().defaultsButton);
  Click(c().paletteButtons.custom);
  EXPECT_EQ(window().workspace().palette, FilePalette());

  // The conversion and the previews work in the file's colours: each field
  // of an interlaced picture shows nothing but them.
  Click(c().testPictureButton);
  Click(c().modeButtons.hiresInterlaced);
  ASSERT_TRUE(ConvertAndWait());
  EXPECT_EQ(window().workspace().converted->customPalette, FilePalette());
  Click(c().fieldPreviewButton);
  const C64Palette colours = FilePalette();
  const std::set<std::uint32_t> allowed(colours.begin(), colours.end());
  std::set<std::uint32_t> used;
  for (const PictureView* field :
       {window().FieldPreview().field1View, window().FieldPreview().field2View}) {
    const Picture shown = field->ShownPicture();
    used.insert(shown.begin(), shown.end());
  }
  EXPECT_GT(used.size(), 3u);
  for (std::uint32_t colour : used) {
    EXPECT_TRUE(allowed.count(colour)) << std::hex << colour;
  }
}

// The reader's text names the file, the line and what is wrong; the window
// shows it as it is and keeps its palette.
TEST_F(ScriptedWindowTest, AMalformedPaletteFileChangesNothing)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QByteArray text = PaletteText(FilePalette());
  text.replace("1e 16 e 0\n", "1e 1G0 e 0\n");  // colour 2
  const QString bad = WriteText(dir, "bad.vpl", text);
  const QString shortFile = WriteText(dir, "short.vpl", "00 00 00\nff ff ff\n");
  Click(c().paletteButtons.deekay);
  const Settings before = window().GatherSettings();

  struct BadFile {
    QString path;
    QString says;
  };
  // A named pipe is refused at once, not waited on.
  const QString pipe = dir.filePath("pipe.vpl");
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0644), 0);
  for (const BadFile& file : {BadFile{bad, "bad.vpl: line 4"}, BadFile{shortFile, "short.vpl"},
                              BadFile{dir.filePath("missing.vpl"), "missing.vpl"},
                              BadFile{pipe, "pipe.vpl: it is a named pipe"}}) {
    SCOPED_TRACE(file.path.toStdString());
    prompts().errors.clear();
    prompts().answers = {file.path};
    Click(c().loadPaletteButton);
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(prompts().errors[0].contains(file.says)) << prompts().errors[0].toStdString();
    EXPECT_EQ(window().GatherSettings(), before);
    EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Deekay));
    EXPECT_FALSE(c().paletteButtons.custom->isEnabled());
  }
}

// The palette file read is an input like the picture: no save replaces it,
// however its name is spelt.
TEST_F(ScriptedWindowTest, NoSaveReplacesTheLoadedPaletteFile)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString palette = WriteText(dir, "mine.vpl", PaletteText(FilePalette()));
  prompts().answers = {palette};
  Click(c().loadPaletteButton);
  Click(c().testPictureButton);
  Click(c().modeButtons.hiresStandard);
  ASSERT_TRUE(ConvertAndWait());
  QDir().mkpath(dir.filePath("sub"));
  const struct {
    const char* name;
    QAbstractButton* button;
    QString path;
  } saves[] = {
      {"raw", c().saveRawButton, palette},
      {"program", c().saveProgramButton, dir.filePath("sub/../mine.vpl")},
      {"C64 file", c().saveC64FileButton, palette},
      {"PNG", c().exportPngButton, palette},
  };
  for (const auto& save : saves) {
    SCOPED_TRACE(save.name);
    prompts().errors.clear();
    prompts().answers = {save.path};
    prompts().chosenFilters = {"C64 program (*.prg)"};
    Click(save.button);
    ASSERT_EQ(prompts().errors.size(), 1);
    EXPECT_TRUE(prompts().errors[0].contains("it is the palette file"))
        << prompts().errors[0].toStdString();
    QFile file(palette);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), PaletteText(FilePalette()));
  }
}

// A file's control bytes are shown escaped, never passed on as they are.
TEST_F(ScriptedWindowTest, ControlBytesOfAPaletteFileAreShownEscaped)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  prompts().answers = {WriteText(dir, "title.vpl", "\x1b]0;owned\x07 00 00\n")};
  Click(c().loadPaletteButton);
  ASSERT_EQ(prompts().errors.size(), 1);
  EXPECT_TRUE(prompts().errors[0].contains("\\x1b]0;owned\\x07"))
      << prompts().errors[0].toStdString();
  EXPECT_FALSE(prompts().errors[0].contains(QChar(0x1b)));
}

}  // namespace
}  // namespace pavona
