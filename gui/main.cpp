#include <QApplication>
#include <cstdio>

#include "colour/memory_pages.h"
#include "gui/main_window.h"
#include "gui/remembered_state.h"
#include "gui/start_arguments.h"

namespace {

using pavona::StartArguments;

// Help and usage errors go to the terminal, without a window.
int PrintUsage(const StartArguments& start)
{
  const bool help = start.action == StartArguments::Action::PrintUsage;
  std::fputs(start.message.toLocal8Bit().constData(), help ? stdout : stderr);
  return help ? 0 : 2;
}

}  // namespace

int main(int argc, char* argv[])
{
  // Each conversion makes and frees large buffers; they stay to be reused.
  pavona::KeepFreedMemoryForReuse();
  // Help needs no display, which QApplication would insist on.
  QStringList rawArguments;
  for (int i = 1; i < argc; ++i) {
    rawArguments << QString::fromLocal8Bit(argv[i]);
  }
  const StartArguments early = pavona::ParseStartArguments(rawArguments);
  if (early.action == StartArguments::Action::PrintUsage) {
    return PrintUsage(early);
  }
  QApplication application(argc, argv);
  // Desktops that match windows to their desktop entry (Wayland) take the
  // icon from there.
  QGuiApplication::setDesktopFileName("pavona");
  pavona::SetSettingsNames();
  const StartArguments start = pavona::ParseStartArguments(application.arguments().mid(1));
  if (start.action != StartArguments::Action::OpenWindow) {
    return PrintUsage(start);
  }
  pavona::MainWindow window;
  window.show();
  // A file that cannot be read is reported like one chosen in the dialog.
  if (!start.picture.isEmpty()) {
    window.OpenPicture(start.picture);
  }
  return QApplication::exec();
}
