#include "gui/start_arguments.h"

namespace pavona {
namespace {

const QString Usage =
    "usage: pavona [PICTURE]\n"
    "Opens the converter's window, with PICTURE (a JPEG, PNG or bitmap file) loaded when\n"
    "it is given. pavona-cli converts pictures without the window.\n";

StartArguments Error(const QString& reason)
{
  return {StartArguments::Action::UsageError, {}, "pavona: " + reason + "\n" + Usage};
}

}  // namespace

// "--" ends the options, so that a file whose name starts with "-" can be
// given. Help wins over every error.
StartArguments ParseStartArguments(const QStringList& arguments)
{
  const qsizetype optionsEnd = arguments.indexOf("--");
  const QStringList options = arguments.mid(0, optionsEnd);
  if (options.contains("-h") || options.contains("--help")) {
    return {StartArguments::Action::PrintUsage, {}, Usage};
  }
  QStringList files;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool option = optionsEnd < 0 || i < optionsEnd;
    if (i == optionsEnd) {
      continue;
    }
    if (option && argument.startsWith('-') && argument != "-") {
      return Error("unknown option " + argument);
    }
    files << argument;
  }
  if (files.size() > 1) {
    return Error("one picture at a time, not " + QString::number(files.size()));
  }
  return {StartArguments::Action::OpenWindow, files.value(0), {}};
}

}  // namespace pavona
