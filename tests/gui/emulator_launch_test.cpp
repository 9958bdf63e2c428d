#include "gui/emulator_launch.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "c64/program_file.h"
#include "core/convert_run.h"
#include "core/test_picture.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path)
{
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A folder with stand-in emulators that record how they were started, and a
// PATH that holds only this folder while the test runs.
class EmulatorLaunch : public ::testing::Test {
 protected:
  void SetUp() override
  {
    directory_ = fs::temp_directory_path() /
                 ("pavona-emulator-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
    const char* path = std::getenv("PATH");
    savedPath_ = path != nullptr ? path : "";
    setenv("PATH", (directory_ / "bin").c_str(), 1);
    fs::create_directories(directory_ / "bin");
  }
  void TearDown() override
  {
    setenv("PATH", savedPath_.c_str(), 1);
    fs::remove_all(directory_);
  }

  // The stand-in writes its arguments, one a line, and a copy of the file
  // it was given, then says it is done.
  fs::path MakeStandIn(const fs::path& path, const std::string& firstLine = "#!/bin/sh")
  {
    std::ofstream script(path);
    script << firstLine << "\n"
           << "PATH=/usr/bin:/bin\n"  // the test's PATH holds only the stand-ins
           << "printf '%s\\n' \"$@\" > '" << (directory_ / "arguments").string() << "'\n"
           << "cp \"$2\" '" << (directory_ / "program.prg").string() << "'\n"
           << "touch '" << (directory_ / "done").string() << "'\n";
    script.close();
    chmod(path.c_str(), 0755);
    return path;
  }

  bool WaitForStandIn() const
  {
    for (int i = 0; i < 500 && !fs::exists(directory_ / "done"); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return fs::exists(directory_ / "done");
  }

  static std::unique_ptr<Workspace> Converted(GraphicMode mode)
  {
    auto workspace = std::make_unique<Workspace>();
    workspace->source = TestPictureFrame();
    Settings settings;
    settings.mode = mode;
    SilentProgress progress;
    ConvertRun(*workspace, settings, progress);
    return workspace;
  }

  fs::path directory_;
  std::string savedPath_;
};

TEST_F(EmulatorLaunch, StartsX64scOnPathWithTheProgramOfTheLastConversion)
{
  MakeStandIn(directory_ / "bin" / "x64sc");
  const auto workspace = Converted(GraphicMode::HiresInterlaced);
  ASSERT_EQ(RunInEmulator(*workspace), "");
  ASSERT_TRUE(WaitForStandIn());
  const std::string arguments = ReadText(directory_ / "arguments");
  ASSERT_EQ(arguments.rfind("-autostart\n", 0), 0u) << arguments;
  const fs::path programFile = arguments.substr(11, arguments.size() - 12);
  EXPECT_EQ(programFile.extension(), ".prg");
  const auto expected =
      C64ProgramBytes(workspace->c64, {GraphicMode::HiresInterlaced, false, false});
  EXPECT_EQ(ReadText(directory_ / "program.prg"), std::string(expected.begin(), expected.end()));
  // Once the emulator has ended, its temporary program file goes.
  for (int i = 0; i < 500 && fs::exists(programFile); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(fs::exists(programFile));
}

TEST_F(EmulatorLaunch, AConfiguredPathIsUsedAsItIs)
{
  const fs::path standIn = MakeStandIn(directory_ / "my-vice");
  ASSERT_EQ(RunInEmulator(*Converted(GraphicMode::HiresFli), standIn.string()), "");
  ASSERT_TRUE(WaitForStandIn());
  EXPECT_EQ(ReadText(directory_ / "program.prg").size(), 17154u);
}

TEST_F(EmulatorLaunch, FailuresSayWhatWentWrong)
{
  const auto workspace = Converted(GraphicMode::HiresStandard);
  EXPECT_EQ(RunInEmulator(*workspace),
            "cannot start x64sc: not found on PATH (it comes with VICE)");

  std::ofstream(directory_ / "bin" / "x64sc") << "not executable";
  EXPECT_EQ(RunInEmulator(*workspace),
            "cannot start x64sc: not found on PATH (it comes with VICE)");

  const std::string notAProgram = (directory_ / "vice.txt").string();
  std::ofstream(notAProgram) << "text";
  EXPECT_EQ(RunInEmulator(*workspace, notAProgram),
            "cannot start " + notAProgram + ": not an executable file");

  const fs::path broken = MakeStandIn(directory_ / "broken", "#!/nonexistent/interpreter");
  EXPECT_EQ(RunInEmulator(*workspace, broken.string()),
            "cannot start " + broken.string() + ": No such file or directory");

  Workspace unconverted;
  EXPECT_EQ(RunInEmulator(unconverted), "nothing to run in the emulator: convert a picture first");
}

TEST(FindEmulator, SearchesThePathInOrder)
{
  const fs::path base = fs::temp_directory_path() / ("pavona-find-" + std::to_string(getpid()));
  fs::create_directories(base / "a");
  fs::create_directories(base / "b");
  fs::create_directories(base / "c" / "x64sc");  // a folder of that name does not count
  for (const char* folder : {"a", "b"}) {
    std::ofstream(base / folder / "x64sc") << "#!/bin/sh\n";
  }
  chmod((base / "b" / "x64sc").c_str(), 0755);
  const std::string path =
      (base / "c").string() + "::" + (base / "a").string() + ":" + (base / "b").string();
  EXPECT_EQ(FindEmulator("x64sc", path), (base / "b" / "x64sc").string());
  EXPECT_EQ(FindEmulator("x64", path), std::nullopt);
  fs::remove_all(base);
}

}  // namespace
}  // namespace pavona
