#pragma once

// Runs the real pavona-cli as a child process, so that what a user sees when
// something fails (the message and the exit status) is what is checked, not
// what a function returns in-process.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <string>
#include <vector>

namespace pavona {

struct ProcessOutcome {
  bool exited = false;    // false: ended by a signal, such as an abort
  int status = -1;        // the exit status, or the signal
  std::string errors;     // what it wrote to standard error
  bool timedOut = false;  // still running at the deadline, then killed
};

// Runs `command` (a program's path and its arguments), its address space
// limited to `memoryLimit` bytes when that is not 0; a run that outlasts
// `deadline` is killed.
inline ProcessOutcome RunCommand(std::vector<std::string> command, rlim_t memoryLimit = 0,
                                 std::chrono::seconds deadline = std::chrono::seconds(60))
{
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    ADD_FAILURE() << "cannot make a pipe";
    return {};
  }
  std::vector<char*> argv;
  for (std::string& argument : command) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    const int nowhere = open("/dev/null", O_WRONLY);
    dup2(nowhere, STDOUT_FILENO);
    close(pipeEnds[0]);
    if (memoryLimit != 0) {
      const rlimit limit{memoryLimit, memoryLimit};
      setrlimit(RLIMIT_AS, &limit);
    }
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  ProcessOutcome outcome;
  const auto end = std::chrono::steady_clock::now() + deadline;
  std::array<char, 4096> buffer;
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now());
    pollfd watched{pipeEnds[0], POLLIN, 0};
    if (left.count() <= 0 || poll(&watched, 1, int(left.count())) == 0) {
      outcome.timedOut = true;
      kill(child, SIGKILL);
      break;
    }
    const ssize_t got = read(pipeEnds[0], buffer.data(), buffer.size());
    if (got <= 0) {
      break;
    }
    outcome.errors.append(buffer.data(), std::size_t(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  outcome.exited = WIFEXITED(status);
  outcome.status = outcome.exited ? WEXITSTATUS(status) : WTERMSIG(status);
  return outcome;
}

// Runs pavona-cli with `arguments`, as RunCommand.
inline ProcessOutcome RunCli(const std::vector<std::string>& arguments, rlim_t memoryLimit = 0,
                             std::chrono::seconds deadline = std::chrono::seconds(60))
{
  std::vector<std::string> command = {PAVONA_CLI_PATH};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return RunCommand(command, memoryLimit, deadline);
}

}  // namespace pavona
