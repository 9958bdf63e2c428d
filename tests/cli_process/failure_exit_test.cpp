// What a user sees when a run fails: one message and exit status 1.
#include <filesystem>

#include "run_cli.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

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
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "the sanitizer reserves more address space than any limit leaves";
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
