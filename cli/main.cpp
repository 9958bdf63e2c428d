#include <unistd.h>

#include <exception>
#include <iostream>
#include <new>

#include "cli/cli_batch.h"
#include "cli/cli_options.h"
#include "cli/stderr_progress.h"
#include "colour/memory_pages.h"
#include "io/printable_text.h"

namespace {

int Run(int argc, char** argv)
{
  using namespace pavona;
  KeepFreedMemoryForReuse();  // a run allocates much, briefly
  const cli::ParseOutcome parsed = cli::ParseCommandLine(argc, argv);
  if (!parsed.options) {
    // The message may quote file names: shown with their control bytes escaped.
    (parsed.exitCode == 0 ? std::cout : std::cerr) << PrintableText(parsed.message, true) << "\n";
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
  // The lines saying what was written are part of the result: a full disk or
  // a closed pipe on standard output must not pass for success.
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "cannot write to standard output\n";
    return 1;
  }
  return status;
}

}  // namespace

// Whatever fails on the way, the user gets one line and exit status 1, never
// an abort with a core dump: outputs already reported were written whole.
int main(int argc, char** argv)
{
  try {
    return Run(argc, argv);
  } catch (const std::bad_alloc&) {
    std::cerr << "pavona-cli: not enough memory; convert fewer or smaller pictures at once, "
                 "or free memory\n";
  } catch (const std::exception& failure) {
    std::cerr << "pavona-cli: " << failure.what() << "\n";
  }
  return 1;
}
