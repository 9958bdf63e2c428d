#include <QApplication>
#include <cstdio>

#include "gui/main_window.h"
#include "gui/remembered_state.h"
#include "gui/start_arguments.h"

int main(int argc, char* argv[])
{
  QApplication application(argc, argv);
  pavona::SetSettingsNames();
  using Action = pavona::StartArguments::Action;
  const pavona::StartArguments start = pavona::ParseStartArguments(application.arguments().mid(1));
  if (start.action != Action::OpenWindow) {
    std::fputs(start.message.toLocal8Bit().constData(),
               start.action == Action::PrintUsage ? stdout : stderr);
    return start.action == Action::PrintUsage ? 0 : 2;
  }
  pavona::MainWindow window;
  window.show();
  // A file that cannot be read is reported like one chosen in the dialog.
  if (!start.picture.isEmpty()) {
    window.OpenPicture(start.picture);
  }
  return QApplication::exec();
}
