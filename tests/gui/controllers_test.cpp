// The conversion and picture-load controllers driven without a window: what
// they commit, when, and what they tell whoever listens.
#include <gtest/gtest.h>

#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "core/convert_run.h"
#include "core/test_picture.h"
#include "gui/conversion_controller.h"
#include "gui/gui_progress.h"
#include "gui/picture_load_controller.h"

namespace pavona {
namespace {

constexpr int RunDeadline = 300'000;  // ms; a slow machine under sanitizers

Settings Mode(GraphicMode mode)
{
  Settings settings;
  settings.mode = mode;
  return settings;
}

// Seconds of work: long enough that "Stop" always meets it going.
Settings SlowSettings()
{
  Settings settings = Mode(GraphicMode::HiresFli);
  settings.extraBruteForce = true;
  return settings;
}

// A controller whose progress reports to no widget, converting the test
// picture with `settings_` as its inputs.
class ConversionControllerTest : public testing::Test {
 protected:
  ConversionControllerTest()
  {
    runs_.SetInputsSource([this]() -> std::optional<RunInputs> {
      if (!hasPicture_) {
        return std::nullopt;
      }
      return RunInputs{TestPictureFrame(), settings_, QString()};
    });
  }

  // What converting the test picture with `settings` in a workspace of its
  // own gives: the run's bytes do not depend on where it ran.
  static std::unique_ptr<Workspace> Reference(const Settings& settings)
  {
    auto workspace = std::make_unique<Workspace>();
    workspace->source = TestPictureFrame();
    SilentProgress silent;
    EXPECT_FALSE(ConvertRun(*workspace, settings, silent).stopped);
    return workspace;
  }

  GuiProgress progress_{nullptr, nullptr, nullptr, nullptr, nullptr};
  ConversionController runs_{progress_};
  bool hasPicture_ = true;
  Settings settings_ = Mode(GraphicMode::HiresStandard);
};

TEST_F(ConversionControllerTest, ConvertCommitsTheFinishedRunOnly)
{
  hasPicture_ = false;
  QSignalSpy started(&runs_, &ConversionController::RunStarted);
  runs_.Convert();
  runs_.ConvertLive();
  EXPECT_EQ(started.count(), 0) << "nothing to convert before a picture";

  hasPicture_ = true;
  QSignalSpy finished(&runs_, &ConversionController::RunFinished);
  runs_.Convert();
  ASSERT_EQ(started.count(), 1);
  EXPECT_EQ(started[0][0].value<RunKind>(), RunKind::Locked);
  EXPECT_TRUE(runs_.ConversionRunning());
  EXPECT_FALSE(runs_.workspace().conversionDone) << "committed before the run ended";
  runs_.ConvertLive();
  EXPECT_EQ(started.count(), 1) << "a live run overtook a locked one";
  ASSERT_TRUE(finished.wait(RunDeadline));
  EXPECT_FALSE(runs_.AnyRunGoing());

  const auto reference = Reference(settings_);
  const Workspace& shown = runs_.workspace();
  EXPECT_TRUE(shown.conversionDone);
  EXPECT_EQ(shown.converted, settings_);
  EXPECT_TRUE(shown.result == reference->result);
  EXPECT_TRUE(shown.c64 == reference->c64);
  EXPECT_EQ(finished[0][0].value<ConversionOutcome>().errorPercent,
            CountErrorPixels(reference->result, reference->dithered).errorPercent);
}

// "Stop" ends the run without a result, and the next run is not stopped by it.
TEST_F(ConversionControllerTest, StopLeavesTheWorkspaceAsItWas)
{
  QSignalSpy finished(&runs_, &ConversionController::RunFinished);
  runs_.Convert();
  ASSERT_TRUE(finished.wait(RunDeadline));
  const auto previous = std::make_unique<Picture>(runs_.workspace().result);

  settings_ = SlowSettings();
  QSignalSpy stopped(&runs_, &ConversionController::RunStopped);
  runs_.Convert();
  runs_.Stop();
  ASSERT_TRUE(stopped.wait(RunDeadline));
  EXPECT_EQ(finished.count(), 1);
  EXPECT_TRUE(runs_.workspace().result == *previous);
  EXPECT_EQ(runs_.workspace().converted, Mode(GraphicMode::HiresStandard));

  settings_ = Mode(GraphicMode::HiresInterlaced);
  runs_.Convert();
  ASSERT_TRUE(finished.wait(RunDeadline));
  EXPECT_EQ(runs_.workspace().converted, settings_);
}

// A newer live run stops the one going, which commits nothing; only the
// newest settings' result is committed. "Convert" during a live run is one
// more live run.
TEST_F(ConversionControllerTest, ANewerLiveRunOvertakesTheRunGoing)
{
  QSignalSpy started(&runs_, &ConversionController::RunStarted);
  QSignalSpy overtaken(&runs_, &ConversionController::RunOvertaken);
  QSignalSpy finished(&runs_, &ConversionController::RunFinished);
  settings_ = SlowSettings();
  runs_.ConvertLive();
  EXPECT_TRUE(runs_.AnyRunGoing());
  EXPECT_FALSE(runs_.ConversionRunning()) << "a live run locks nothing";
  settings_ = Mode(GraphicMode::HiresFliInterlace);
  runs_.Convert();
  ASSERT_TRUE(finished.wait(RunDeadline));
  EXPECT_EQ(overtaken.count(), 1);
  EXPECT_EQ(finished.count(), 1);
  ASSERT_EQ(started.count(), 2);
  EXPECT_EQ(started[1][0].value<RunKind>(), RunKind::Live);
  EXPECT_EQ(runs_.workspace().converted, settings_);
  EXPECT_TRUE(runs_.workspace().c64 == Reference(settings_)->c64);
}

// The pause merges the changes into one run; switched off, a waiting change
// is dropped.
TEST_F(ConversionControllerTest, LiveRunsOncePauseAfterTheChanges)
{
  LiveConversion& live = runs_.Live();
  QSignalSpy started(&runs_, &ConversionController::RunStarted);
  live.Changed();
  EXPECT_FALSE(live.Waiting()) << "off, a change waits for nothing";
  live.SetOn(true);
  live.Changed();
  live.Changed();
  EXPECT_TRUE(live.Waiting());
  ASSERT_TRUE(started.wait(RunDeadline));
  EXPECT_EQ(started.count(), 1);
  QSignalSpy finished(&runs_, &ConversionController::RunFinished);
  ASSERT_TRUE(finished.wait(RunDeadline));

  live.Changed();
  live.SetOn(false);
  EXPECT_FALSE(live.Waiting());
  EXPECT_EQ(started.count(), 1);
}

QString WritePhoto(const QTemporaryDir& dir, int width, int height)
{
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
    }
  }
  const QString path = dir.filePath("photo.jpg");
  EXPECT_TRUE(image.save(path, "JPG", 90));
  return path;
}

Placement Fitted(int scalePercent)
{
  Placement placement;
  placement.mode = FitMode::Fit;
  placement.scalePercent = scalePercent;
  return placement;
}

// One read at a time; a new picture is decoded as small as its placement
// allows, and read again whole when a zoom needs more pixels.
TEST(PictureLoadControllerTest, ReadsOneFileAtATimeAndAgainForAZoom)
{
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = WritePhoto(dir, 2400, 1600);
  auto workspace = std::make_unique<Workspace>();
  PictureLoadController loads(*workspace);
  QSignalSpy busy(&loads, &PictureLoadController::BusyChanged);
  QSignalSpy read(&loads, &PictureLoadController::PictureRead);
  QSignalSpy progress(&loads, &PictureLoadController::Progress);

  ASSERT_TRUE(loads.Open(path, Fitted(400)));  // the old picture's zoom is dropped
  EXPECT_TRUE(loads.Busy());
  EXPECT_FALSE(loads.Open(path, Fitted(0))) << "a second read mixed with the first";
  ASSERT_TRUE(read.wait(60'000));
  EXPECT_FALSE(loads.Busy());
  ASSERT_EQ(busy.count(), 2);
  EXPECT_EQ(progress.count(), 2);
  EXPECT_EQ(loads.LoadedPath(), path);
  EXPECT_TRUE(loads.FileShown());
  const LoadedPicture& loaded = workspace->loaded;
  EXPECT_LT(loaded.width, 2400);
  EXPECT_EQ(FileWidthOf(loaded), 2400);
  EXPECT_TRUE(read[0][1].toBool()) << "a new picture is fresh";
  const Placement placed = read[0][2].value<Placement>();
  EXPECT_EQ(placed.scalePercent, 0);
  EXPECT_EQ(read[0][3].value<Picture>(), PlacePicture(loaded, placed));

  EXPECT_FALSE(loads.ReloadIfReadDiffers(placed)) << "large enough as it is";
  ASSERT_TRUE(loads.ReloadIfReadDiffers(Fitted(100)));
  ASSERT_TRUE(read.wait(60'000));
  EXPECT_FALSE(read[1][1].toBool()) << "the same file read again keeps its placement";
  EXPECT_EQ(loaded.width, 2400);

  // The test picture in the frame: nothing to read again.
  loads.ForgetFile();
  workspace->loaded.width = 10;
  EXPECT_FALSE(loads.ReloadIfReadDiffers(Fitted(100)));
}

TEST(PictureLoadControllerTest, AFileThatCannotBeReadChangesNothing)
{
  auto workspace = std::make_unique<Workspace>();
  PictureLoadController loads(*workspace);
  QSignalSpy failed(&loads, &PictureLoadController::ReadFailed);
  QSignalSpy read(&loads, &PictureLoadController::PictureRead);
  const QString path = QString(PAVONA_TEST_DATA_DIR) + "/not_a_picture.txt";
  ASSERT_TRUE(loads.Open(path, Placement{}));
  ASSERT_TRUE(failed.wait(60'000));
  EXPECT_TRUE(failed[0][1].toString().contains("not_a_picture.txt"));
  EXPECT_TRUE(failed[0][2].toBool());
  EXPECT_EQ(read.count(), 0);
  EXPECT_TRUE(loads.LoadedPath().isEmpty());
  EXPECT_FALSE(loads.FileShown());
  EXPECT_EQ(workspace->loaded.width, 0);
}

}  // namespace
}  // namespace pavona
