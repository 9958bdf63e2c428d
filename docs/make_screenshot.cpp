// Draws the README's picture of the window: shown at 2x, with a photo fitted
// into the frame and converted with the start-up settings, grabbed offscreen.
//
//   readme_screenshot PHOTO OUTPUT.png
#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

#include "gui/main_window.h"

namespace {

using pavona::MainWindow;

// Runs the event loop until `signal` comes or `seconds` pass; false on time-out.
template <typename Signal>
bool WaitFor(MainWindow& window, Signal signal, int seconds)
{
  QEventLoop loop;
  bool arrived = false;
  QObject::connect(&window, signal, &loop, [&] {
    arrived = true;
    loop.quit();
  });
  QTimer::singleShot(seconds * 1000, &loop, &QEventLoop::quit);
  loop.exec();
  return arrived;
}

// A change of placement may read the file again at a larger size.
bool WaitForLoading(MainWindow& window)
{
  return !window.PictureLoading() || WaitFor(window, &MainWindow::PictureLoadFinished, 60);
}

}  // namespace

int main(int argc, char* argv[])
{
  if (argc != 3) {
    std::fprintf(stderr, "usage: readme_screenshot PHOTO OUTPUT.png\n");
    return 2;
  }
  // A screen of its own may be given ("offscreen:configfile=screen.json").
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(pavona::ApplicationTitle);
  // Nothing the user's own runs remembered (folders, window size) shows.
  QStandardPaths::setTestModeEnabled(true);

  MainWindow window;
  window.show();
  const pavona::MainWindowControls& c = window.Controls();
  c.scaleActions[1]->trigger();  // "2x"
  // The offscreen screen is small; the window is made as large as 2x needs.
  window.resize(1640, 910);
  c.placement.fit->click();
  window.OpenPicture(QString::fromLocal8Bit(argv[1]));
  if (!WaitForLoading(window) || !c.convertButton->isEnabled()) {
    std::fprintf(stderr, "readme_screenshot: %s was not loaded\n", argv[1]);
    return 1;
  }
  c.convertButton->click();
  if (!WaitFor(window, &MainWindow::ConversionFinished, 120)) {
    std::fprintf(stderr, "readme_screenshot: the conversion did not finish\n");
    return 1;
  }
  if (!window.grab().toImage().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "readme_screenshot: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
