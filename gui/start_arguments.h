#pragma once

#include <QString>
#include <QStringList>

namespace pavona {

// What the command line of `pavona` asks for: `pavona` starts as usual,
// `pavona FILE` opens FILE in the window, `pavona --help` only prints the
// usage; anything else is a usage error.
struct StartArguments {
  enum class Action { OpenWindow, PrintUsage, UsageError };
  Action action = Action::OpenWindow;
  QString picture;  // the file to open, empty for none
  QString message;  // the usage text, or the error and the usage
};

// The arguments after the program's name, Qt's own options already taken out
// (help is found among them too, so it can be answered without a display).
StartArguments ParseStartArguments(const QStringList& arguments);

}  // namespace pavona
