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

// "--" ends the options, so that a file whose name starts with "-" can be given.
StartArguments ParseStartArguments(const QStringList& arguments)
{
  QStringList files;
  bool options = true;
  for (const QString& argument : arguments) {
    if (options && argument == "--") {
      options = false;
    } else if (options && (argument == "-h" || argument == "--help")) {
      return {StartArguments::Action::PrintUsage, {}, Usage};
    } else if (options && argument.startsWith('-') && argument != "-") {
      return Error("unknown option " + argument);
    } else {
      files << argument;
    }
  }
  if (files.size() > 1) {
    return Error("one picture at a time, not " + QString::number(files.size()));
  }
  return {StartArguments::Action::OpenWindow, files.value(0), {}};
}

}  // namespace pavona
