// Settings shown in the main window's controls and read back from them.
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "gui/main_window_tables.h"
#include "gui/up_down.h"
#include "gui_test_support.h"

namespace pavona {
namespace {

struct SettingsRow {
  const char* name;
  Settings settings;
};

std::vector<SettingsRow> SettingsRows()
{
  std::vector<SettingsRow> rows(7);
  Settings& single = rows[0].settings;
  rows[0].name = "hires interlaced, single bank";
  single.mode = GraphicMode::HiresInterlaced;
  single.palette = PaletteId::Ccs64;
  single.mix = MixMethod::Yuv;  // shown after the palette, which selects "RGB Mix"
  single.measure = Measure::Brightness;
  single.flicker = FlickerLevel::Off;
  single.dither = {DitherMethod::Ordered8x8, false, 3, true, true, 300, false};
  single.fourColours = false;
  single.sameBanks = true;
  single.extraBruteForce = true;
  single.alternateY = false;
  single.alternateX = true;
  single.alternateX8 = true;
  single.adjustment = {1, 2, 3, -4, -5};

  Settings& standard = rows[1].settings;
  rows[1].name = "hires standard, random dither, adjustment limits";
  standard.mode = GraphicMode::HiresStandard;
  standard.palette = PaletteId::Frodo;
  standard.measure = Measure::RgbDistance;
  standard.flicker = FlickerLevel::Heavy;
  standard.dither = {DitherMethod::Random, true, 1, false, false, 255, true};
  standard.adjustment = {-255, 255, 0, 255, -100};

  // Typed values outside the spinners' ranges are used as typed.
  Settings& fli = rows[2].settings;
  rows[2].name = "hires fli, numbers beyond the spinners";
  fli.mode = GraphicMode::HiresFli;
  fli.palette = PaletteId::Deekay;
  fli.mix = MixMethod::Yuv;
  fli.flicker = FlickerLevel::Light;
  fli.dither = {DitherMethod::FloydSteinberg, false, 9, false, true, -3, false};
  fli.extraBruteForce = true;
  fli.adjustment = {0, -1, 0, 0, 100};

  Settings& fliInterlace = rows[3].settings;
  rows[3].name = "fli interlace, single bank, none";
  fliInterlace.palette = PaletteId::Vice;
  fliInterlace.sameBanks = true;
  fliInterlace.alternateX = true;
  fliInterlace.dither.method = DitherMethod::None;
  fliInterlace.adjustment.contrast = 37;

  Settings& colodore = rows[4].settings;
  rows[4].name = "colodore, refine";
  colodore.palette = PaletteId::Colodore;
  colodore.refine = true;

  // Colours of a palette file, shown while "Custom" is selected already.
  for (int row : {5, 6}) {
    rows[row].name = "custom palette";
    rows[row].settings.palette = PaletteId::Custom;
    rows[row].settings.refine = row == 5;
    for (std::uint32_t n = 0; n < 16; ++n) {
      rows[row].settings.customPalette[n] = n * std::uint32_t(row) * 0x010203u;
    }
  }
  rows.push_back({"defaults", {}});
  return rows;
}

// One window shows the rows one after another, so each starts from the
// previous row's controls rather than from the start values.
TEST_F(MainWindowTest, ShownSettingsAreReadBackUnchanged)
{
  for (const SettingsRow& row : SettingsRows()) {
    SCOPED_TRACE(row.name);
    window().ShowSettings(row.settings);
    EXPECT_EQ(window().GatherSettings(), row.settings);
    // The fields show what the track bars hold, and the palette is in use.
    for (const AdjustmentRowInfo& info : AdjustmentTable) {
      const AdjustmentRow& controls = c().adjustment.*info.row;
      EXPECT_EQ(controls.field->text(), QString::number(controls.trackBar->value()))
          << info.fieldName;
    }
    EXPECT_EQ(window().workspace().palette, PaletteOf(row.settings));
  }
}

// A spinner shown a value outside its range still steps within the range.
TEST_F(MainWindowTest, ShownSpinnerValuesStepWithinTheRange)
{
  Settings settings;
  settings.dither.valueAmp = 9;
  settings.dither.strength = -3;
  window().ShowSettings(settings);
  EXPECT_EQ(c().valueAmpField->text(), "9");
  EXPECT_EQ(c().strengthField->text(), "-3");
  Click(c().valueAmpSpinner->downButton());
  EXPECT_EQ(c().valueAmpField->text(), "3");
  Click(c().strengthSpinner->upButton());
  EXPECT_EQ(c().strengthField->text(), "1");
}

}  // namespace
}  // namespace pavona
