#include <QApplication>

#include "gui/main_window.h"

int main(int argc, char* argv[])
{
  QApplication application(argc, argv);
  // The name, rather than a display name, so that window captions are not
  // decorated with it; message boxes without a caption of their own show it.
  QApplication::setApplicationName(pavona::ApplicationTitle);
  pavona::MainWindow window;
  window.show();
  return QApplication::exec();
}
