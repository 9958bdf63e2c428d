// Runs the real pavona-cli as a child process, so that what a user sees when
// something fails (the message and the exit status) is what is checked, not
// what a function returns in-process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>
#include <vector>

namespace pavona {
namespace {

namespace fs = std::filesystem;

struct ProcessOutcome {
  bool exited = false;  // false: ended by a signal, such as an abort
  int status = -1;      // the exit status, or the signal
  std::string errors;   // what it wrote to standard error
};

// Runs pavona-cli with `arguments`, its address space limited to `memoryLimit`
// bytes when that is not 0.
ProcessOutcome RunCli(const std::vector<std::string>& arguments, rlim_t memoryLimit = 0)
{
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) {
    ADD_FAILURE() << "cannot make a pipe";
    return {};
  }
  std::vector<char*> argv;
  std::string program = PAVONA_CLI_PATH;
  argv.push_back(program.data());
  std::vector<std::string> copies = arguments;
  for (std::string& argument : copies) {
    argv.push_back(argument.data());
  }
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
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
  std::array<char, 4096> buffer;
  for (ssize_t got; (got = read(pipeEnds[0], buffer.data(), buffer.size())) > 0;) {
    outcome.errors.append(buffer.data(), std::size_t(got));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  outcome.exited = WIFEXITED(status);
  outcome.status = outcome.exited ? WEXITSTATUS(status) : WTERMSIG(status);
  return outcome;
}

class CliFailure : public ::testing::Test {
 protected:
  void SetUp() override
  {
    directory_ = fs::temp_directory_path() /
                 ("pavona-cli-failure-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }
  fs::path directory_;
};

TEST_F(CliFailure, AnUnwritablePngIsOneMessageAndExitStatusOne)
{
  const fs::path png = directory_ / "no such folder" / "result.png";
  const ProcessOutcome outcome = RunCli({"--test-picture", "--quiet", "--result-png", png});
  ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.status;
  EXPECT_EQ(outcome.status, 1);
  EXPECT_NE(outcome.errors.find(png.string()), std::string::npos) << outcome.errors;
  EXPECT_FALSE(fs::exists(png));
}

// The natural spelling: each --save names one file, and the input follows.
TEST_F(CliFailure, SaveTakesOneFileAndTheInputFollows)
{
  const fs::path art = directory_ / "out.art";
  const ProcessOutcome outcome = RunCli({"--quiet", "--mode", "hires", "--save", art,
                                         std::string(PAVONA_TEST_DATA_DIR) + "/coffee_frame.jpg"});
  ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.status;
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  ASSERT_TRUE(fs::exists(art));
  EXPECT_EQ(fs::file_size(art), 9009u);
}

// At any memory limit the command line either converts as usual or says in
// one line that memory ran out and exits with 1; it never aborts. Below some
// limit the system cannot even load the program (exit 127 from the loader).
TEST_F(CliFailure, RunningOutOfMemoryIsOneMessageAndExitStatusOne)
{
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit leaves";
#else
  const fs::path prg = directory_ / "picture.prg";
  const ProcessOutcome unlimited = RunCli({"--test-picture", "--quiet", "--prg", prg});
  ASSERT_EQ(unlimited.status, 0) << unlimited.errors;
  const auto expected = fs::file_size(prg);
  int outOfMemory = 0;
  int converted = 0;
  for (rlim_t megabytes = 4; megabytes <= 40; ++megabytes) {
    SCOPED_TRACE(std::to_string(megabytes) + " MB");
    fs::remove(prg);
    const ProcessOutcome outcome =
        RunCli({"--test-picture", "--quiet", "--prg", prg}, megabytes << 20);
    ASSERT_TRUE(outcome.exited) << "ended by signal " << outcome.status << ": " << outcome.errors;
    if (outcome.status == 127) {
      continue;
    }
    if (outcome.status == 0) {
      ++converted;
      EXPECT_EQ(fs::file_size(prg), expected);
      continue;
    }
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.errors.find('\n'), outcome.errors.size() - 1) << outcome.errors;
    outOfMemory += outcome.errors.find("not enough memory") != std::string::npos ? 1 : 0;
  }
  EXPECT_GT(outOfMemory, 0) << "no limit made an allocation fail";
  EXPECT_GT(converted, 0) << "no limit left enough memory to convert";
#endif
}

}  // namespace
}  // namespace pavona
