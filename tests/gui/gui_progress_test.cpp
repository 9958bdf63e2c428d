// Progress reported from a worker thread reaches the widgets only on their
// own thread, with the data as it was when reported.
#include "gui/gui_progress.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <thread>

#include "gui_test_support.h"

namespace pavona {
namespace {

Picture Gradient()
{
  Picture picture;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      picture[PixelIndex(x, y)] = MakeColour(x & 0xFF, y, (x * y) & 0xFF);
    }
  }
  return picture;
}

TEST_F(MainWindowTest, ProgressFromAWorkerIsQueuedAndCopied)
{
  Picture picture = Gradient();
  const Picture original = picture;
  const MixTable table = ReducedTable(PaletteId::Frodo, MixMethod::Yuv,
                                      GraphicMode::HiresInterlaced, FlickerLevel::Heavy);

  std::thread worker([&] {
    ProgressReport& progress = window().Progress();
    progress.SetStatus("Dithering in progress");
    progress.SetProgress(120);
    progress.ShowRows(picture, 10, 10);
    progress.ShowMixTable(table);
    progress.ReportStrayColour(0x123456);
  });
  worker.join();

  // Nothing has touched the widgets yet.
  EXPECT_EQ(c().statusText->text(), "");
  EXPECT_EQ(c().progressBar->value(), 0);
  EXPECT_EQ(c().resultView->PixelAt(5, 12), 0u);
  EXPECT_EQ(ShownCaption(c().convertButton->text()), "Convert");

  // The stage goes on writing its picture after reporting the rows.
  picture.fill(0xFFFFFF);
  QCoreApplication::sendPostedEvents();

  EXPECT_EQ(c().statusText->text(), "Dithering in progress");
  EXPECT_EQ(c().progressBar->value(), 120);
  int wrong = 0;
  for (int y = 0; y < PictureHeight; ++y) {
    for (int x = 0; x < PictureWidth; ++x) {
      const std::uint32_t expected = (y >= 10 && y < 20) ? original[PixelIndex(x, y)] : 0;
      wrong += c().resultView->PixelAt(x, y) != expected;
    }
  }
  EXPECT_EQ(wrong, 0) << "only rows 10..19 are drawn, as they were reported";
  // 0x123456 = 1 * 16^5 + 2 * 16^4 + 3 * 16^3 + 4 * 16^2 + 5 * 16 + 6.
  EXPECT_EQ(c().convertButton->text(), "1193046");
  // The swatches of the reported table, not of the one in the workspace.
  const MixTableImage swatches = DrawMixPalette(table);
  int wrongSwatches = 0;
  for (int y = 0; y < MixImageHeight; ++y) {
    for (int x = 0; x < MixImageWidth; ++x) {
      wrongSwatches += c().mixTableView->PixelAt(x, y) != swatches[y * MixImageWidth + x];
    }
  }
  EXPECT_EQ(wrongSwatches, 0);
}

TEST_F(MainWindowTest, ProgressOnTheWidgetThreadTakesEffectAtOnce)
{
  ProgressReport& progress = window().Progress();
  progress.SetStatus(" ");
  progress.SetProgress(8 * 24);
  const Picture picture = Gradient();
  progress.ShowRows(picture, 190, 50);  // clipped to the frame
  EXPECT_EQ(c().statusText->text(), " ");
  EXPECT_EQ(c().progressBar->value(), 192);
  EXPECT_EQ(c().resultView->PixelAt(7, 199), picture[PixelIndex(7, 199)]);
  EXPECT_EQ(c().resultView->PixelAt(7, 189), 0u);
}

}  // namespace
}  // namespace pavona
