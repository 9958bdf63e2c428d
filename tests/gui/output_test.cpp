// Saving and previewing the last conversion: the files and the decoded
// fields follow the mode that was converted, whatever the controls say now.
#include <QAction>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <memory>

#include "c64/field_pictures.h"
#include "core/test_picture.h"
#include "gui/preview_windows.h"
#include "io/output_files.h"
#include "plan/conversion_plan.h"
#include "scripted_prompts.h"

namespace pavona {
namespace {

QByteArray FileBytes(const QString& path)
{
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  return file.readAll();
}

QByteArray DataBytes(const C64Data& data, int offset, int size)
{
  return QByteArray(reinterpret_cast<const char*>(data.data()) + offset, size);
}

// One field as the C64 shows it, decoded byte by byte. A hires field is a
// screen of 1024 bytes and a bitmap; an FLI field has eight screens, one for
// each pixel row of a cell, then its bitmap.
Picture PlainField(const C64Data& data, const C64Palette& palette, bool fli, int field)
{
  const int base = field * (fli ? 0x4000 : 0x2400);
  const int bitmap = base + (fli ? 0x2000 : 0x0400);
  Picture picture{};
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const int screen = base + (fli ? (y % 8) * 1024 : 0) + (y / 8) * 40 + x / 8;
      const int bits = data[bitmap + (y / 8) * 320 + (x / 8) * 8 + y % 8];
      const int colour = (bits >> (7 - x % 8)) & 1 ? data[screen] >> 4 : data[screen] & 15;
      picture[PixelIndex(x, y)] = palette[colour];
    }
  }
  return picture;
}

TEST_F(ScriptedWindowTest, SavingWaitsForAConversionAndWritesItsLayout)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Click(c().testPictureButton);

  // Nothing to save yet: the buttons and menu items are disabled.
  for (QPushButton* save : {c().saveRawButton, c().saveProgramButton}) {
    EXPECT_FALSE(save->isEnabled());
    Click(save);
  }
  c().saveRawAction->trigger();
  c().saveProgramAction->trigger();
  EXPECT_TRUE(prompts().saveQuestions.isEmpty());

  // Converted in "Hires FLI Interlace" with "4 cols per 8x1": both fields
  // whole. Saved after selecting "Hires Standard", which alone would be 9216
  // bytes.
  ASSERT_TRUE(ConvertAndWait());
  Click(c().modeButtons.hiresStandard);
  const C64Data& data = window().workspace().c64;
  const QByteArray all = DataBytes(data, 0, C64DataSize);
  ASSERT_NE(all, QByteArray(C64DataSize, '\0'));

  // A name without an extension gets the file type's. The test picture has
  // no name to suggest, and no folder was saved to before.
  prompts().answers = {dir.filePath("picture")};
  Click(c().saveRawButton);
  EXPECT_EQ(prompts().saveQuestions, QStringList({" | Raw C64 data (*.raw)"}));
  EXPECT_EQ(FileBytes(dir.filePath("picture.raw")), all);
  EXPECT_FALSE(QFile::exists(dir.filePath("picture")));
  EXPECT_EQ(c().statusText->text(), "Saved picture.raw, 32,768 bytes");

  // The program: the 770-byte viewer loading at $0800, the shared-bitmap
  // byte 0, then the same data. The dialog starts in the folder saved to.
  prompts().answers = {dir.filePath("picture.prg")};
  c().saveProgramAction->trigger();
  EXPECT_EQ(prompts().saveQuestions.last(), dir.path() + "/ | C64 program (*.prg)");
  const QByteArray program = FileBytes(dir.filePath("picture.prg"));
  ASSERT_EQ(program.size(), 770 + C64DataSize);
  EXPECT_EQ(program.left(2), QByteArray("\x00\x08", 2));
  EXPECT_EQ(program[35], '\0');
  EXPECT_EQ(program.mid(770), all);

  // A cancelled dialog writes nothing; a file that cannot be written says
  // which and why.
  prompts().answers = {QString()};
  Click(c().saveProgramButton);
  EXPECT_TRUE(prompts().errors.isEmpty());
  const QString unwritable = dir.filePath("no_such_folder/picture.raw");
  prompts().answers = {unwritable};
  c().saveRawAction->trigger();
  ASSERT_EQ(prompts().errors.size(), 1);
  EXPECT_TRUE(prompts().errors[0].contains(unwritable)) << prompts().errors[0].toStdString();
  EXPECT_FALSE(QFile::exists(unwritable));
  EXPECT_FALSE(c().statusText->text().contains("picture.raw")) << "a failed save said saved";

  // Converted in "Hires Interlaced", saved with "Hires FLI Interlace"
  // selected: both hires fields, screen and bitmap each.
  Click(c().modeButtons.hiresInterlaced);
  ASSERT_TRUE(ConvertAndWait());
  Click(c().modeButtons.hiresFliInterlace);
  prompts().answers = {dir.filePath("hires.raw"), dir.filePath("hires.prg")};
  Click(c().saveRawButton);
  Click(c().saveProgramButton);
  EXPECT_EQ(FileBytes(dir.filePath("hires.raw")), DataBytes(data, 0, 18432));
  const QByteArray hires = FileBytes(dir.filePath("hires.prg"));
  ASSERT_EQ(hires.size(), 770 + 18432);
  EXPECT_EQ(hires.mid(770), DataBytes(data, 0, 18432));
}

TEST_F(ScriptedWindowTest, PreviewsDecodeTheConvertedLayoutInTheSelectedPalette)
{
  FieldPreviewWindow& field = window().FieldPreview();
  InterlacedPreviewWindow& interlaced = window().InterlacedPreview();
  Click(c().testPictureButton);
  // Nothing converted: neither preview opens.
  Click(c().fieldPreviewButton);
  Click(c().interlacedPreviewButton);
  EXPECT_FALSE(field.isVisible());
  EXPECT_FALSE(interlaced.isVisible());
  EXPECT_EQ(DifferingPixels(*field.field1View, Picture{}), 0);

  struct Row {
    const char* name;
    QRadioButton* convertIn;
    QRadioButton* previewIn;
    bool fli;
  };
  const Row rows[] = {
      {"hires interlaced", c().modeButtons.hiresInterlaced, c().modeButtons.hiresFliInterlace,
       false},
      {"fli interlace", c().modeButtons.hiresFliInterlace, c().modeButtons.hiresInterlaced, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Click(row.convertIn);
    Click(c().paletteButtons.pepto);  // "Pepto"
    ASSERT_TRUE(ConvertAndWait());
    // Another palette and the other interlaced mode, without converting.
    Click(c().paletteButtons.ccs64);  // "CCS64"
    Click(row.previewIn);
    const C64Data& data = window().workspace().c64;
    const C64Palette& ccs64 = PaletteColours(PaletteId::Ccs64);
    const Picture field1 = PlainField(data, ccs64, row.fli, 0);
    const Picture field2 = PlainField(data, ccs64, row.fli, 1);
    // Decoded in the wrong layout the fields would differ.
    ASSERT_NE(field1, PlainField(data, ccs64, !row.fli, 0));
    ASSERT_NE(field1, PlainField(data, PaletteColours(PaletteId::Pepto), row.fli, 0));

    Click(c().fieldPreviewButton);
    EXPECT_TRUE(field.isVisible());
    EXPECT_EQ(DifferingPixels(*field.field1View, field1), 0);
    EXPECT_EQ(DifferingPixels(*field.field2View, field2), 0);
    const auto decoded = std::make_unique<FieldPictures>(
        DecodeFields(data, PlanConversion(*window().workspace().converted).output, ccs64));
    EXPECT_EQ(decoded->field1, field1);
    EXPECT_EQ(decoded->field2, field2);
    Click(c().interlacedPreviewButton);
    EXPECT_TRUE(interlaced.isVisible());
    EXPECT_FALSE(interlaced.isModal());
    EXPECT_EQ(DifferingPixels(*interlaced.field1View, field1), 0);
    EXPECT_EQ(DifferingPixels(*interlaced.field2View, field2), 0);
    field.hide();
    interlaced.hide();
  }
}

// A result and the name of the picture it came from travel together: a
// picture loaded after converting does not rename the result, and the window
// says which picture the result shows until the new one is converted.
TEST_F(ScriptedWindowTest, SavesNameThePictureTheResultCameFrom)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString coffee = QString(PAVONA_TEST_DATA_DIR) + "/coffee_frame.jpg";
  const QString other = dir.filePath("other.png");
  QImage picture(320, 200, QImage::Format_RGB32);
  picture.fill(QColor(200, 60, 30));
  ASSERT_TRUE(picture.save(other));

  prompts().answers = {coffee};
  ASSERT_TRUE(LoadAndWait());
  Click(c().modeButtons.hiresFli);
  ASSERT_TRUE(ConvertAndWait());
  const QString status = c().statusText->text();
  EXPECT_TRUE(status.startsWith("Converted coffee_frame.jpg to Hires FLI in "))
      << status.toStdString();
  EXPECT_TRUE(status.contains(" dB close to the photo")) << status.toStdString();
  EXPECT_FALSE(c().resultCaption->isVisibleTo(&window()));
  const OutputBytes raw = OutputFileBytes(OutputFile::Raw, window().workspace());
  ASSERT_TRUE(raw.Ok());
  const QByteArray coffeeRaw(reinterpret_cast<const char*>(raw.bytes.data()),
                             qsizetype(raw.bytes.size()));

  // The other picture loaded, not converted: the result is still the coffee.
  prompts().answers = {other};
  ASSERT_TRUE(LoadAndWait());
  EXPECT_TRUE(c().resultCaption->isVisibleTo(&window()));
  EXPECT_TRUE(c().resultCaption->text().contains("coffee_frame.jpg"));
  EXPECT_TRUE(c().resultCaption->text().contains("other.png"));
  prompts().answers = {dir.filePath("first.raw")};
  Click(c().saveRawButton);
  EXPECT_TRUE(prompts().saveQuestions.last().contains("coffee_frame.raw |"))
      << prompts().saveQuestions.last().toStdString();
  EXPECT_EQ(FileBytes(dir.filePath("first.raw")), coffeeRaw);

  // Converted: the result, its name and the caption follow the new picture.
  ASSERT_TRUE(ConvertAndWait());
  EXPECT_FALSE(c().resultCaption->isVisibleTo(&window()));
  EXPECT_TRUE(c().statusText->text().startsWith("Converted other.png"));
  prompts().answers = {dir.filePath("second.raw")};
  Click(c().saveRawButton);
  EXPECT_TRUE(prompts().saveQuestions.last().contains("other.raw |"));
  EXPECT_NE(FileBytes(dir.filePath("second.raw")), coffeeRaw);

  // The test picture is no file: it has no name to suggest either.
  Click(c().testPictureButton);
  EXPECT_TRUE(c().resultCaption->text().contains("the test picture"));
}

}  // namespace
}  // namespace pavona
