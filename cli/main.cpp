#include <unistd.h>

#include <iostream>

#include "cli/cli_batch.h"
#include "cli/cli_options.h"
#include "cli/stderr_progress.h"

int main(int argc, char** argv)
{
  using namespace pavona;
  const cli::ParseOutcome parsed = cli::ParseCommandLine(argc, argv);
  if (!parsed.options) {
    (parsed.exitCode == 0 ? std::cout : std::cerr) << parsed.message << "\n";
    return parsed.exitCode;
  }
  const cli::CliOptions& options = *parsed.options;
  // Progress only where a person watches it: a terminal, and not with --quiet.
  cli::StderrProgress terminal;
  SilentProgress silent;
  const bool showProgress = !options.quiet && isatty(STDERR_FILENO);
  ProgressReport& progress = showProgress ? static_cast<ProgressReport&>(terminal) : silent;
  const int status = cli::RunBatch(options, std::cout, std::cerr, progress);
  terminal.Finish();
  return status;
}
