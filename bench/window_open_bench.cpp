// Opening a 24-megapixel JPEG in the window, against the same read and
// placement the command line makes, and redrawing the source frame while a
// large photo is zoomed and dragged. Runs the real window offscreen.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QMouseEvent>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gui/main_window.h"
#include "gui/main_window_controls.h"
#include "gui/picture_view.h"
#include "gui/placement_panel.h"
#include "io/placed_picture_read.h"
#include "support/jpeg_encoding.h"

namespace pavona {
namespace {

// Gradients and strong grain: a JPEG as large as a camera's, which decodes
// about as slowly.
const std::string& PhotoFile()
{
  static const std::string path =
      (std::filesystem::temp_directory_path() / "pavona-bench-window-24mp-grain.jpg").string();
  static const bool made = [] {
    if (std::filesystem::exists(path)) {
      return true;
    }
    constexpr int width = 6000, height = 4000;
    LoadedPicture picture{width, height, std::vector<std::uint32_t>(std::size_t(width) * height)};
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int grain = int(seed >> 26) - 32;  // a photo's noise and texture
        const int wave = int(std::sin(x * 0.003) * std::cos(y * 0.004) * 60);
        const auto channel = [&](int base) { return std::clamp(base + wave + grain, 0, 255); };
        picture.pixels[std::size_t(y) * width + x] =
            MakeColour(channel(90 + x / 50), channel(110 + y / 50), channel(140 - x / 100));
      }
    }
    const std::vector<std::uint8_t> bytes = test::EncodeJpeg(picture, 90);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return true;
  }();
  (void)made;
  return path;
}

bool WaitForLoads(MainWindow& window)
{
  QSignalSpy finished(&window, &MainWindow::PictureLoadFinished);
  for (int tries = 0; tries < 20 && window.PictureLoading(); ++tries) {
    if (!finished.wait(60'000)) {
      return false;
    }
  }
  return !window.PictureLoading();
}

// From the call until the picture shows in the source frame.
void BM_WindowOpensCutout(benchmark::State& state)
{
  const QString photo = QString::fromStdString(PhotoFile());
  MainWindow window;
  window.show();
  window.Controls().placement.cutout->setChecked(true);
  for (auto _ : state) {
    QSignalSpy finished(&window, &MainWindow::PictureLoadFinished);
    window.OpenPicture(photo);
    if (!finished.wait(60'000)) {
      state.SkipWithError("the picture did not load");
      return;
    }
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_WindowOpensCutout)->Unit(benchmark::kMillisecond)->UseRealTime();

// The first picture a new window opens, as after a start.
void BM_NewWindowOpensCutout(benchmark::State& state)
{
  const QString photo = QString::fromStdString(PhotoFile());
  for (auto _ : state) {
    state.PauseTiming();
    auto window = std::make_unique<MainWindow>();
    window->show();
    window->Controls().placement.cutout->setChecked(true);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    QSignalSpy finished(window.get(), &MainWindow::PictureLoadFinished);
    window->OpenPicture(photo);
    if (!finished.wait(60'000)) {
      state.SkipWithError("the picture did not load");
      return;
    }
    QCoreApplication::processEvents();
    state.PauseTiming();
    window.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_NewWindowOpensCutout)->Unit(benchmark::kMillisecond)->UseRealTime();

// The command line's way: the same read and placement, no window.
void BM_CommandLineReadsCutout(benchmark::State& state)
{
  const Placement cutout;
  for (auto _ : state) {
    const PictureFileResult read = ReadPictureForPlacement(PhotoFile(), cutout);
    benchmark::DoNotOptimize(PlacePicture(read.picture, cutout));
  }
}
BENCHMARK(BM_CommandLineReadsCutout)->Unit(benchmark::kMillisecond)->UseRealTime();

// A wheel step of zoom at 100 % on the whole photo: the frame redrawn and
// painted (a new read at the new scale follows in the background).
void BM_ZoomRedrawsAtHighZoom(benchmark::State& state)
{
  MainWindow window;
  window.show();
  const PlacementControls& placement = window.Controls().placement;
  placement.fit->setChecked(true);
  window.OpenPicture(QString::fromStdString(PhotoFile()));
  // Zoomed once the picture is in, which reads it again at that size.
  const bool loaded = WaitForLoads(window);
  placement.zoomField->setValue(100);
  if (!loaded || !WaitForLoads(window)) {
    state.SkipWithError("the picture did not load");
    return;
  }
  int step = 0;
  for (auto _ : state) {
    placement.zoomField->setValue(++step % 2 ? 95 : 100);
    window.Controls().sourceView->repaint();
    state.PauseTiming();
    WaitForLoads(window);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ZoomRedrawsAtHighZoom)->Unit(benchmark::kMillisecond)->UseRealTime();

// Dragging the photo at 95 % (resampled from the whole picture): each mouse
// move pans and repaints.
void BM_DragRedrawsAtHighZoom(benchmark::State& state)
{
  MainWindow window;
  window.show();
  const PlacementControls& placement = window.Controls().placement;
  placement.fit->setChecked(true);
  window.OpenPicture(QString::fromStdString(PhotoFile()));
  // Zoomed once the picture is in, which reads it again at that size.
  const bool loaded = WaitForLoads(window);
  placement.zoomField->setValue(95);
  if (!loaded || !WaitForLoads(window)) {
    state.SkipWithError("the picture did not load");
    return;
  }
  PictureView* view = window.Controls().sourceView;
  const QPointF start(160, 100);
  QMouseEvent press(QEvent::MouseButtonPress, start, view->mapToGlobal(start), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(view, &press);
  const QScrollBar* bar = window.Controls().horizontalScroll;
  int step = 0;
  int moved = 0;
  for (auto _ : state) {
    const int before = bar->value();
    const QPointF at = start + QPointF(++step % 2 ? -7 : 0, 0);
    QMouseEvent move(QEvent::MouseMove, at, view->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(view, &move);
    view->repaint();
    moved += bar->value() != before;
  }
  if (moved == 0) {
    state.SkipWithError("the drag did not pan the picture");
  }
}
BENCHMARK(BM_DragRedrawsAtHighZoom)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace pavona

int main(int argc, char* argv[])
{
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  // What the window remembers goes to a folder of this run, never to the
  // user's settings.
  const QTemporaryDir settings;
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat}) {
    QSettings::setPath(format, QSettings::UserScope, settings.path());
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
