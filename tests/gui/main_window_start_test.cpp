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
#include <QSpinBox>
#include <QStatusBar>
#include <map>

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
    {"modeButtons.hiresStandard", "Graphic Mode", "Hires Standard", false, true},
    {"modeButtons.hiresInterlaced", "Graphic Mode", "Hires Interlaced", false, true},
    {"modeButtons.hiresFli", "Graphic Mode", "Hires FLI", false, true},
    {"modeButtons.hiresFliInterlace", "Graphic Mode", "Hires FLI Interlace", true, true},
    {"liveBox", "Graphic Mode", "Live", false, true},
    {"convertButton", "Graphic Mode", "Convert", false, false},
    {"paletteButtons.pepto", "Palette", "Pepto", true, true},
    {"paletteButtons.deekay", "Palette", "Deekay", false, true},
    {"paletteButtons.vice", "Palette", "Vice", false, true},
    {"paletteButtons.ccs64", "Palette", "CCS64", false, true},
    {"paletteButtons.frodo", "Palette", "Frodo", false, true},
    {"paletteButtons.colodore", "Palette", "Colodore", false, true},
    // No colours before a palette file is read.
    {"paletteButtons.custom", "Palette", "Custom", false, false},
    {"loadPaletteButton", "Palette", "Load Palette...", false, true},
    {"mixButtons.rgb", "Palette Mixing", "RGB Mix", true, true},
    {"mixButtons.yuv", "Palette Mixing", "YUV Mix", false, true},
    {"matchingButtons.rgbDistance", "Color matching", "RGB Distance", false, true},
    {"matchingButtons.brightness", "Color matching", "'Y' Brightness", false, true},
    {"matchingButtons.perceptual", "Color matching", "Perceptual", true, true},
    {"flickerButtons.off", "Flicker col reduction", "Off", false, true},
    {"flickerButtons.light", "Flicker col reduction", "Light", false, true},
    {"flickerButtons.medium", "Flicker col reduction", "Medium", true, true},
    {"flickerButtons.heavy", "Flicker col reduction", "Heavy", false, true},
    {"ditherButtons.none", "No dither", "None", false, true},
    {"ditherButtons.ordered2x2", "Ordered", "Ordered 2x2", false, true},
    {"ditherButtons.ordered3x3", "Ordered", "Ordered 3x3", false, true},
    {"ditherButtons.ordered4x4", "Ordered", "Ordered 4x4", false, true},
    {"ditherButtons.ordered8x8", "Ordered", "Ordered 8x8", false, true},
    {"balancedBox", "Ordered", "Balanced", false, true},
    {"altYDitherBox", "Ordered", "Alt Y Dither", false, true},
    {"flipDitherBox", "Ordered", "Flip dither", false, true},
    {"ditherButtons.floydSteinberg", "Diffusion", "Floyd Steinberg", false, true},
    {"ditherButtons.custom", "Diffusion", "Custom", true, true},
    // Beside the list of the other kernels.
    {"ditherButtons.kernel", "Diffusion", "", false, true},
    {"serpentineBox", "Diffusion", "Serpentine", true, true},
    {"ditherButtons.random", "Random", "Enable", false, true},
    {"separateRgbBox", "Random", "Separate RGB", true, true},
    {"fourColoursBox", "4 cols per 8x1", "Activate", true, true},
    {"sameBanksBox", "Same Col Banks", "Enabled", false, true},
    {"extraBruteForceBox", "Extra Brute Force", "Activate", false, true},
    {"alternateYBox", "Interlace settings", "Alternate Y", true, true},
    {"alternateXBox", "Interlace settings", "Alternate X", false, false},
    {"alternateX8Box", "Interlace settings", "Alternate X8", false, true},
    {"refineBox", "Refine", "Activate", false, true},
    {"mapIntoReachBox", "Palette Mixing", "Map colours into reach", false, true},
    {"holdErrorsButton", "Error Pixel Value", "Hold to Show", false, true},
    {"holdDitheredButton", "Error Pixel Value", "Hold for pre-Hifli Conv", false, true},
    {"fieldPreviewButton", "Preview Options", "Field Separate", false, true},
    {"interlacedPreviewButton", "Preview Options", "Interlaced Preview", false, true},
    {"testPictureButton", "Load Options", "Internal Test Image", false, true},
    {"loadPictureButton", "Load Options", "Load Bitmap / JPG / PNG...", false, true},
    // Nothing to save before the first conversion.
    {"saveRawButton", "Save Options", "Save Raw C64 data...", false, false},
    {"saveProgramButton", "Save Options", "Save C64 .prg...", false, false},
    {"saveC64FileButton", "Save Options", "Save C64 File...", false, false},
    {"runEmulatorButton", "Save Options", "Run in Emulator", false, false},
    {"exportPngButton", "Save Options", "Export PNG...", false, false},
    // Beside the progress bar; enabled while a run goes.
    {"stopButton", "", "Stop", false, false},
    {"defaultsButton", "", "Defaults", false, true},
    // A picture is cut out 1:1 until another placement is chosen.
    {"placement.cutout", "Placement", "Cut-out 1:1", true, true},
    {"placement.fit", "Placement", "Fit", false, true},
    {"placement.fill", "Placement", "Fill", false, true},
    {"placement.squarePixelsBox", "Placement", "Square pixels", false, true},
};

TEST_F(MainWindowTest, ButtonsStartWithTheirCaptionsValuesAndEnabledStates)
{
  for (const ButtonRow& row : ButtonRows) {
    SCOPED_TRACE(row.name);
    const auto* button = window().findChild<QAbstractButton*>(row.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(ShownCaption(button->text()), row.caption);
    EXPECT_EQ(GroupTitleOf(button), row.group);
    EXPECT_EQ(button->isChecked(), row.checked);
    EXPECT_EQ(button->isEnabled(), row.enabled);
  }
  // The four dithering boxes sit in the one "Dithering" group.
  for (const char* box : {"ditherButtons.none", "ditherButtons.ordered2x2",
                          "ditherButtons.floydSteinberg", "ditherButtons.random"}) {
    const QWidget* inner = window().findChild<QWidget*>(box)->parentWidget();
    EXPECT_EQ(GroupTitleOf(inner), "Dithering") << box;
  }
}

// Controls are found by their object names: no two widgets of the main
// window may share one (the secondary windows name their own).
TEST_F(MainWindowTest, ObjectNamesAreUnique)
{
  std::map<QString, int> uses;
  for (const QWidget* widget : window().findChildren<QWidget*>()) {
    if (widget->window() == &window() && !widget->objectName().isEmpty() &&
        !widget->objectName().startsWith("qt_")) {
      ++uses[widget->objectName()];
    }
  }
  EXPECT_GT(uses.size(), 60u);  // the controls were found at all
  for (const auto& [name, count] : uses) {
    EXPECT_EQ(count, 1) << name.toStdString();
  }
}

TEST_F(MainWindowTest, AdjustmentAndSpinnerFieldsStartAtTheirValues)
{
  struct TrackRow {
    const char* trackBar;
    const char* edit;
    int limit;
  };
  const TrackRow rows[] = {{"adjustment.red.trackBar", "adjustment.red.field", 255},
                           {"adjustment.green.trackBar", "adjustment.green.field", 255},
                           {"adjustment.blue.trackBar", "adjustment.blue.field", 255},
                           {"adjustment.brightness.trackBar", "adjustment.brightness.field", 255},
                           {"adjustment.contrast.trackBar", "adjustment.contrast.field", 100}};
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
  const SpinRow spins[] = {{"valueAmpField", "valueAmpSpinner", "Ordered", 1, 4, 2},
                           {"strengthField", "strengthSpinner", "Random", 0, 255, 45}};
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
  EXPECT_EQ(window().objectName(), "mainWindow");
  EXPECT_EQ(window().windowTitle(), "Pavona Hi-FLI Convertor");
  EXPECT_EQ(window().size(), QSize(976, 664));

  struct ImageRow {
    const char* name;
    QSize size;
  };
  for (const ImageRow& row :
       {ImageRow{"bannerView", {928, 81}}, ImageRow{"sourceView", {320, 200}},
        ImageRow{"resultView", {320, 200}}, ImageRow{"mixTableView", {304, 54}}}) {
    const auto* image = window().findChild<PictureView*>(row.name);
    ASSERT_NE(image, nullptr) << row.name;
    EXPECT_EQ(image->image().size(), row.size) << row.name;
  }
  EXPECT_EQ(GroupTitleOf(c().mixTableView), "Mix palette");
  EXPECT_EQ(c().sourceView->parentWidget()->objectName(), "sourcePanel");
  EXPECT_EQ(c().resultView->parentWidget()->objectName(), "resultPanel");
  // Source and result start black.
  for (const PictureView* image : {c().sourceView, c().resultView}) {
    const Picture shown = image->ShownPicture();
    EXPECT_TRUE(std::all_of(shown.begin(), shown.end(), [](std::uint32_t p) { return p == 0; }))
        << image->objectName().toStdString();
  }
  // The banner is decoration, but not an empty one.
  EXPECT_GT(c().bannerView->image().convertToFormat(QImage::Format_Indexed8).colorCount(), 8);

  for (const char* name : {"horizontalScroll", "verticalScroll"}) {
    const auto* bar = window().findChild<QScrollBar*>(name);
    ASSERT_NE(bar, nullptr) << name;
    EXPECT_EQ(bar->minimum(), 0) << name;
    EXPECT_EQ(bar->maximum(), 0) << name;
    EXPECT_FALSE(bar->isEnabled()) << name;
  }
  // Nothing to zoom before a picture is placed in "Fit" or "Fill".
  EXPECT_FALSE(c().placement.zoomSlider->isEnabled());
  EXPECT_FALSE(c().placement.zoomField->isEnabled());
  EXPECT_EQ(c().horizontalScroll->orientation(), Qt::Horizontal);
  EXPECT_EQ(c().verticalScroll->orientation(), Qt::Vertical);

  const auto* progress = window().findChild<QProgressBar*>("progressBar");
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 200);
  EXPECT_EQ(progress->value(), 0);
  ASSERT_NE(window().findChild<QStatusBar*>("statusBar"), nullptr);
  window().SetStatusText("Loaded internal test image");
  EXPECT_EQ(c().statusText->text(), "Loaded internal test image");

  const auto* label1 = window().findChild<QLabel*>("errorValueLabel");
  const auto* label2 = window().findChild<QLabel*>("percentLabel");
  ASSERT_NE(label1, nullptr);
  ASSERT_NE(label2, nullptr);
  EXPECT_EQ(label1->text(), "0");
  EXPECT_EQ(label2->text(), "%");

  const auto* file = window().findChild<QMenu*>("fileMenu");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(ShownCaption(file->title()), "File");
  QStringList items;
  QStringList names;
  for (const QAction* action : file->actions()) {
    if (!action->isSeparator()) {
      items << ShownCaption(action->text());
      names << action->objectName();
    }
  }
  EXPECT_EQ(items, QStringList({"Open Image...", "Save Raw C64 data...", "Save C64 .prg...",
                                "Save C64 File...", "Export PNG...", "Exit"}));
  EXPECT_EQ(names, QStringList({"openAction", "saveRawAction", "saveProgramAction",
                                "saveC64FileAction", "exportPngAction", "exitAction"}));
  QList<bool> enabled;
  for (const QAction* action : file->actions()) {
    if (!action->isSeparator()) {
      enabled << action->isEnabled();
    }
  }
  EXPECT_EQ(enabled, QList<bool>({true, false, false, false, false, true}));
  const QList<QAction*> bar = window().menuBar()->actions();
  ASSERT_EQ(bar.size(), 3);
  EXPECT_EQ(bar[0], file->menuAction());
  EXPECT_EQ(bar[1]->text(), "View");
  EXPECT_EQ(bar[2]->objectName(), "aboutAction");
  EXPECT_EQ(ShownCaption(bar[2]->text()), "About...");

  EXPECT_FALSE(window().workspace().conversionDone);
  EXPECT_EQ(window().workspace().palette, PaletteColours(PaletteId::Pepto));
  EXPECT_EQ(window().GatherSettings(), Settings{});
}

// The table at start-up has the selected level, "Medium", taken out, as the
// first conversion will.
TEST_F(MainWindowTest, MixTableStartsWithTheSelectedLevel)
{
  const MixTable light = ReducedTable(PaletteId::Pepto, MixMethod::Rgb,
                                      GraphicMode::HiresFliInterlace, FlickerLevel::Light);
  const MixTable medium = ReducedTable(PaletteId::Pepto, MixMethod::Rgb,
                                       GraphicMode::HiresFliInterlace, FlickerLevel::Medium);
  ASSERT_FALSE(light == medium);
  ExpectMixTableShown(window(), medium);
  EXPECT_TRUE(c().flickerButtons.medium->isChecked());
}

}  // namespace
}  // namespace pavona
