#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QSettings>
#include <QTest>
#include <memory>

#include "colour/flicker_reduction.h"
#include "colour/mix_palette.h"
#include "gui/main_window.h"
#include "gui/picture_view.h"

namespace pavona {

// The table the core builds for these settings, with one flicker level taken out.
inline MixTable ReducedTable(PaletteId palette, MixMethod method, GraphicMode mode,
                             FlickerLevel level)
{
  MixTable table;
  BuildMixPalette(table, PaletteColours(palette), method, mode);
  ReduceFlicker(table, level);
  return table;
}

// The window holds `expected` and its "Mix palette" image shows exactly it.
inline void ExpectMixTableShown(const MainWindow& window, const MixTable& expected)
{
  EXPECT_TRUE(window.workspace().mix == expected) << "the mix table in the workspace differs";
  const MixTableImage swatches = DrawMixPalette(expected);
  const PictureView& image = *window.Controls().mixTableView;
  ASSERT_EQ(image.image().size(), QSize(MixImageWidth, MixImageHeight));
  int wrong = 0;
  for (int y = 0; y < MixImageHeight; ++y) {
    for (int x = 0; x < MixImageWidth; ++x) {
      wrong += image.PixelAt(x, y) != swatches[y * MixImageWidth + x];
    }
  }
  EXPECT_EQ(wrong, 0) << "pixels of the mix table image differ";
}

// A caption as it is shown: an '&' only underlines the letter after it, the
// key that presses the button with Alt.
inline QString ShownCaption(QString caption)
{
  return caption.remove('&');
}

// A main window as the program starts it for the first time (nothing
// remembered from earlier runs), shown offscreen.
class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override
  {
    QSettings().clear();
    window_ = std::make_unique<MainWindow>();
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  MainWindow& window() { return *window_; }
  const MainWindowControls& c() const { return window_->Controls(); }

  static void Click(QAbstractButton* button)
  {
    // Near the left edge: on the indicator of a radio button or check box.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
  }

 private:
  std::unique_ptr<MainWindow> window_;
};

}  // namespace pavona
