// The main window as the program starts: every control with its caption,
// start value and enabled state, the menu, and the working pictures.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>

#include "gui/up_down.h"
#include "gui_test_support.h"

namespace pavona {
namespace {

QString GroupTitleOf(const QWidget* control)
{
  for (const QWidget* w = control->parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (const auto* group = qobject_cast<const QGroupBox*>(w)) {
      return group->title();
    }
  }
  return {};
}

struct ButtonRow {
  const char* name;
  const char* group;  // the innermost group box holding it
  const char* caption;
  bool checked;
  bool enabled;
};

// Radio buttons, check boxes and push buttons, found by their names.
const ButtonRow ButtonRows[] = {
    {"RadioButton3", "Graphic Mode", "Hires Standard", false, true},
    {"RadioButton4", "Graphic Mode", "Hires Interlaced", false, true},
    {"RadioButton5", "Graphic Mode", "Hires FLI", false, true},
    {"RadioButton6", "Graphic Mode", "Hires FLI Interlace", true, true},
    {"BitBtn1", "Graphic Mode", "Convert", false, false},
    {"RadioButton8", "Palette", "Pepto", true, true},
    {"RadioButton9", "Palette", "Deekay", false, true},
    {"RadioButton21", "Palette", "Vice", false, true},
    {"RadioButton22", "Palette", "CCS64", false, true},
    {"RadioButton23", "Palette", "Frodo", false, true},
    {"RadioButton17", "Palette Mixing", "RGB Mix", true, true},
    {"RadioButton18", "Palette Mixing", "YUV Mix", false, true},
    {"RadioButton11", "Color matching", "RGB Distance", false, true},
    {"RadioButton12", "Color matching", "'Y' Brightness", false, true},
    {"RadioButton19", "Color matching", "Perceptual", true, true},
    {"RadioButton14", "Flicker col reduction", "Off", false, true},
    {"RadioButton20", "Flicker col reduction", "Light", false, true},
    {"RadioButton15", "Flicker col reduction", "Medium", true, true},
    {"RadioButton16", "Flicker col reduction", "Heavy", false, true},
    {"RadioButton1", "No dither", "None", false, true},
    {"RadioButton7", "Ordered", "Ordered 2x2", false, true},
    {"RadioButton26", "Ordered", "Ordered 3x3", false, true},
    {"RadioButton10", "Ordered", "Ordered 4x4", false, true},
    {"RadioButton24", "Ordered", "Ordered 8x8", false, true},
    {"CheckBox7", "Ordered", "Alt Y Dither", false, true},
    {"CheckBox10", "Ordered", "Flip dither", false, true},
    {"RadioButton2", "Diffusion", "Floyd Steinberg", false, true},
    {"RadioButton13", "Diffusion", "Custom", true, true},
    {"CheckBox9", "Diffusion", "Serpentine", true, true},
    {"RadioButton25", "Random", "Enable", false, true},
    {"CheckBox8", "Random", "Seperate RGB", true, true},
    {"CheckBox3", "4 cols per 8x1", "Activate", true, true},
    {"CheckBox6", "Same Col Banks", "Enabled", false, true},
    {"CheckBox5", "Extra Brute Force", "Activate", false, true},
    {"CheckBox1", "Interlace settings", "Alternate Y", true, true},
    {"CheckBox4", "Interlace settings", "Alternate X", false, false},
    {"CheckBox2", "Interlace settings", "Alternate X8", false, true},
    {"Button4", "Error Pixel Value", "Hold to Show", false, true},
    {"BitBtn2", "Error Pixel Value", "Hold for pre-Hifli Conv", false, true},
    {"Button2", "Preview Options", "Field Seperate", false, true},
    {"Button3", "Preview Options", "Interlaced Preview", false, true},
    {"Button5", "Load Options", "Internal Test Image", false, true},
    {"Button6", "Load Options", "Load Bitmap / JPG", false, true},
    // Nothing to save before the first conversion.
    {"Button7", "Save Options", "Save Raw C64 data", false, false},
    {"Button8", "Save Options", "Save C64 .prg", false, false},
    {"Button1", "", "Defaults", false, true},
};

TEST_F(MainWindowTest, ButtonsStartWithTheirCaptionsValuesAndEnabledStates)
{
  for (const ButtonRow& row : ButtonRows) {
    SCOPED_TRACE(row.name);
    const auto* button = window().findChild<QAbstractButton*>(row.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), row.caption);
    EXPECT_EQ(GroupTitleOf(button), row.group);
    EXPECT_EQ(button->isChecked(), row.checked);
    EXPECT_EQ(button->isEnabled(), row.enabled);
  }
  // The four dithering boxes sit in the one "Dithering" group.
  for (const char* box : {"RadioButton1", "RadioButton7", "RadioButton2", "RadioButton25"}) {
    const QWidget* inner = window().findChild<QWidget*>(box)->parentWidget();
    EXPECT_EQ(GroupTitleOf(inner), "Dithering") << box;
  }
}

TEST_F(MainWindowTest, AdjustmentAndSpinnerFieldsStartAtTheirValues)
{
  struct TrackRow {
    const char* trackBar;
    const char* edit;
    int limit;
  };
  const TrackRow rows[] = {{"TrackBar1", "Edit1", 255},
                           {"TrackBar2", "Edit2", 255},
                           {"TrackBar3", "Edit3", 255},
                           {"TrackBar5", "Edit4", 255},
                           {"TrackBar4", "Edit5", 100}};
  for (const TrackRow& row : rows) {
    SCOPED_TRACE(row.trackBar);
    const auto* trackBar = window().findChild<QSlider*>(row.trackBar);
    const auto* edit = window().findChild<QLineEdit*>(row.edit);
    ASSERT_NE(trackBar, nullptr);
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(trackBar->minimum(), -row.limit);
    EXPECT_EQ(trackBar->maximum(), row.limit);
    EXPECT_EQ(trackBar->value(), 0);
    EXPECT_EQ(edit->text(), "0");
    EXPECT_EQ(GroupTitleOf(trackBar), "Color Adjustment");
  }

  struct SpinRow {
    const char* edit;
    const char* upDown;
    const char* group;
    int minimum, maximum, start;
  };
  const SpinRow spins[] = {{"Edit6", "UpDown1", "Ordered", 1, 4, 2},
                           {"Edit7", "UpDown2", "Random", 0, 255, 45}};
  for (const SpinRow& row : spins) {
    SCOPED_TRACE(row.edit);
    const auto* edit = window().findChild<QLineEdit*>(row.edit);
    const auto* upDown = window().findChild<UpDown*>(row.upDown);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(upDown, nullptr);
    EXPECT_EQ(edit->text(), QString::number(row.start));
    EXPECT_EQ(upDown->minimum(), row.minimum);
    EXPECT_EQ(upDown->maximum(), row.maximum);
    EXPECT_EQ(upDown->position(), row.start);
    EXPECT_EQ(GroupTitleOf(edit), row.group);
  }
}

TEST_F(MainWindowTest, WindowPicturesBarsAndMenuStartAsTheProgramOpens)
{
  EXPECT_EQ(window().objectName(), "Form1");
  EXPECT_EQ(window().windowTitle(), "Pavona HI-FLI Convertor");
  EXPECT_EQ(window().size(), QSize(938, 618));

  struct ImageRow {
    const char* name;
    QSize size;
  };
  for (const ImageRow& row : {ImageRow{"Image1", {928, 81}}, ImageRow{"Image2", {320, 200}},
                              ImageRow{"Image3", {320, 200}}, ImageRow{"Image4", {304, 54}}}) {
    const auto* image = window().findChild<PictureView*>(row.name);
    ASSERT_NE(image, nullptr) << row.name;
    EXPECT_EQ(image->image().size(), row.size) << row.name;
  }
  EXPECT_EQ(GroupTitleOf(c().Image4), "Mix palette");
  EXPECT_EQ(c().Image2->parentWidget()->objectName(), "Panel1");
  EXPECT_EQ(c().Image3->parentWidget()->objectName(), "Panel2");
  // Source and result start black.
  for (const PictureView* image : {c().Image2, c().Image3}) {
    const Picture shown = image->ShownPicture();
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](std::uint32_t p) { return p == 0; }))
        << image->objectName().toStdString();
  }
  // The banner is decoration, but not an empty one.
  EXPECT_GT(c().Image1->image().convertToFormat(QImage::Format_Indexed8).colorCount(), 8);

  for (const char* name : {"ScrollBar1", "ScrollBar2"}) {
    const auto* bar = window().findChild<QScrollBar*>(name);
    ASSERT_NE(bar, nullptr) << name;
    EXPECT_EQ(bar->minimum(), 0) << name;
    EXPECT_EQ(bar->maximum(), 0) << name;
    EXPECT_FALSE(bar->isEnabled()) << name;
  }
  EXPECT_EQ(c().ScrollBar1->orientation(), Qt::Horizontal);
  EXPECT_EQ(c().ScrollBar2->orientation(), Qt::Vertical);

  const auto* progress = window().findChild<QProgressBar*>("ProgressBar1");
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 200);
  EXPECT_EQ(progress->value(), 0);
  ASSERT_NE(window().findChild<QStatusBar*>("StatusBar1"), nullptr);
  window().SetStatusText("Loaded internal test image");
  EXPECT_EQ(c().StatusPanel->text(), "Loaded internal test image");

  const auto* label1 = window().findChild<QLabel*>("Label1");
  const auto* label2 = window().findChild<QLabel*>("Label2");
  ASSERT_NE(label1, nullptr);
  ASSERT_NE(label2, nullptr);
  EXPECT_EQ(label1->text(), "0");
  EXPECT_EQ(label2->text(), "%");

  const auto* file = window().findChild<QMenu*>("File1");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(file->title(), "File");
  QStringList items;
  QStringList names;
  for (const QAction* action : file->actions()) {
    if (!action->isSeparator()) {
      items << action->text();
      names << action->objectName();
    }
  }
  EXPECT_EQ(items, QStringList({"Open Image", "Save Raw", "Save C64 Exe", "Exit"}));
  EXPECT_EQ(names, QStringList({"OpenImage1", "SaveRaw1", "SaveC64Exe1", "Exit1"}));
  QList<bool> enabled;
  for (const QAction* action : file->actions()) {
    if (!action->isSeparator()) {
      enabled << action->isEnabled();
    }
  }
  EXPECT_EQ(enabled, QList<bool>({true, false, false, true}));
  const QList<QAction*> bar = window().menuBar()->actions();
  ASSERT_EQ(bar.size(), 2);
  EXPECT_EQ(bar[0], file->menuAction());
  EXPECT_EQ(bar[1]->objectName(), "Settings1");
  EXPECT_EQ(bar[1]->text(), "About");

  EXPECT_FALSE(window().workspace().conversionDone);
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Pepto));
  EXPECT_EQ(window().GatherSettings(), Settings{});
}

// The table at start-up has the "Light" reduction although "Medium" is the
// selected level: the first conversion applies the selected one.
TEST_F(MainWindowTest, MixTableStartsWithTheLightReduction)
{
  const MixTable light = ReducedTable(PaletteId::Pepto, MixMethod::Rgb,
                                      GraphicMode::HiresFliInterlace, FlickerLevel::Light);
  const MixTable medium = ReducedTable(PaletteId::Pepto, MixMethod::Rgb,
                                       GraphicMode::HiresFliInterlace, FlickerLevel::Medium);
  ASSERT_FALSE(light == medium);
  ExpectMixTableShown(window(), light);
  EXPECT_TRUE(c().RadioButton15->isChecked());
}

}  // namespace
}  // namespace pavona
