#include "gui/emulator_launch.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#include "c64/file_writer.h"
#include "c64/program_file.h"
#include "plan/conversion_plan.h"

extern char** environ;

namespace pavona {
namespace {

bool IsExecutableFile(const std::string& path)
{
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
         access(path.c_str(), X_OK) == 0;
}

std::string Reason(int error)
{
  return std::generic_category().message(error);
}

// A new, empty file of our own in the temporary folder, or why not.
std::string CreateTemporaryProgramFile(std::string& path)
{
  std::string pattern = (std::filesystem::temp_directory_path() / "pavona-XXXXXX.prg").string();
  const int descriptor = mkstemps(pattern.data(), 4);
  if (descriptor < 0) {
    return "cannot create a temporary file in " + std::filesystem::temp_directory_path().string() +
           ": " + Reason(errno);
  }
  close(descriptor);
  path = pattern;
  return {};
}

// Starts the emulator in a session of its own, so that a terminal's hang-up
// or interrupt for this program does not reach it, with no input attached.
std::string Spawn(const std::string& emulator, const std::string& programFile, pid_t& child)
{
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  std::string autostart = "-autostart";
  std::string file = programFile;
  std::string name = emulator;
  char* arguments[] = {name.data(), autostart.data(), file.data(), nullptr};
  const int error =
      posix_spawn(&child, emulator.c_str(), &actions, &attributes, arguments, environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) {
    return "cannot start " + emulator + ": " + Reason(error);
  }
  return {};
}

}  // namespace

std::optional<std::string> FindEmulator(const std::string& program, std::string_view searchPath)
{
  if (program.find('/') != std::string::npos) {
    return IsExecutableFile(program) ? std::optional(program) : std::nullopt;
  }
  while (true) {
    const std::size_t colon = searchPath.find(':');
    std::string directory(searchPath.substr(0, colon));
    if (directory.empty()) {
      directory = ".";  // an empty entry means the current folder
    }
    const std::string candidate = directory + "/" + program;
    if (IsExecutableFile(candidate)) {
      return candidate;
    }
    if (colon == std::string_view::npos) {
      return std::nullopt;
    }
    searchPath.remove_prefix(colon + 1);
  }
}

std::string RunInEmulator(const Workspace& workspace, const std::string& program)
{
  if (!workspace.converted) {
    return "nothing to run in the emulator: convert a picture first";
  }
  const char* searchPath = std::getenv("PATH");
  const std::optional<std::string> emulator =
      FindEmulator(program, searchPath != nullptr ? searchPath : "");
  if (!emulator) {
    return program.find('/') != std::string::npos
               ? "cannot start " + program + ": not an executable file"
               : "cannot start " + program + ": not found on PATH (it comes with VICE)";
  }

  const OutputKind kind = PlanConversion(*workspace.converted).output;
  std::string programFile;
  if (std::string error = CreateTemporaryProgramFile(programFile); !error.empty()) {
    return error;
  }
  if (std::string error = WriteFileAtomically(programFile, C64ProgramBytes(workspace.c64, kind));
      !error.empty()) {
    unlink(programFile.c_str());
    return error;
  }
  pid_t child = 0;
  if (std::string error = Spawn(*emulator, programFile, child); !error.empty()) {
    unlink(programFile.c_str());
    return error;
  }
  // Collects the emulator when it ends, so it leaves no zombie behind, and
  // removes the program file it was reading.
  std::thread([child, programFile] {
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    unlink(programFile.c_str());
  }).detach();
  return {};
}

}  // namespace pavona
