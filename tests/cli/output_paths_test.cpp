#include "cli/output_paths.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

#include "cli/cli_options.h"

namespace pavona::cli {
namespace {

namespace fs = std::filesystem;

// A scratch folder with real files: two inputs of the same name in a/ and b/,
// the same name with another extension, a named pipe, a symbolic link to an
// input and a folder named like an output.
class OutputPaths : public ::testing::Test {
 protected:
  void SetUp() override
  {
    root_ = fs::temp_directory_path() /
            ("pavona-paths-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
    fs::create_directories(root_ / "a");
    fs::create_directories(root_ / "b");
    fs::create_directories(root_ / "out" / "pic.raw");
    const fs::path picture = fs::path(PAVONA_TEST_DATA_DIR) / "bits24.bmp";
    for (const char* name : {"a/pic.bmp", "b/pic.bmp", "a/pic.jpg", "a/other.bmp"}) {
      fs::copy_file(picture, root_ / name);
    }
    fs::copy_file(fs::path(PAVONA_TEST_DATA_DIR) / "alpha.png", root_ / "a" / "coffee.png");
    ASSERT_EQ(::mkfifo((root_ / "pipe.raw").c_str(), 0644), 0);
    fs::create_symlink(root_ / "a" / "other.bmp", root_ / "link.raw");
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string At(const char* name) const { return (root_ / name).string(); }

  // Parses the arguments with every "@" replaced by the scratch folder.
  ParseOutcome Parse(std::vector<std::string> arguments) const
  {
    std::vector<const char*> argv = {"pavona-cli"};
    for (std::string& argument : arguments) {
      if (const auto at = argument.find('@'); at != std::string::npos) {
        argument.replace(at, 1, root_.string());
      }
      argv.push_back(argument.c_str());
    }
    return ParseCommandLine(int(argv.size()), argv.data());
  }

  fs::path root_;
};

TEST_F(OutputPaths, ClashesAreUsageErrorsNamingBothFiles)
{
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> named;  // each must appear in the message
  } rows[] = {
      {"output is the input", {"@/a/pic.bmp", "--raw", "@/a/pic.bmp"}, {"--raw", "input file"}},
      {"output is the input by another path",
       {"@/a/pic.bmp", "--prg", "@/b/../a/./pic.bmp"},
       {"--prg", "@/a/pic.bmp"}},
      {"output is a link to the input",
       {"@/a/other.bmp", "--raw", "@/link.raw"},
       {"symbolic link"}},
      {"out-dir is the input's folder",
       {"@/a/coffee.png", "--out-dir", "@/a", "--mode", "hires"},
       {"@/a/coffee.png", "input file"}},
      {"same name in two folders",
       {"@/a/pic.bmp", "@/b/pic.bmp", "--out-dir", "@/new"},
       {"@/new/pic.raw", "@/a/pic.bmp", "@/b/pic.bmp", "same file"}},
      {"same name, other extension",
       {"@/a/pic.bmp", "@/a/pic.jpg", "--out-dir", "@/new"},
       {"@/a/pic.jpg", "same file"}},
      {"one input given twice",
       {"@/a/pic.bmp", "@/a/pic.bmp", "--out-dir", "@/new"},
       {"same file"}},
      {"two options name one file",
       {"@/a/pic.bmp", "--raw", "@/two.bin", "--prg", "@/two.bin"},
       {"--raw", "--prg", "same file"}},
      {"two options, one through a folder link",
       {"--test-picture", "--raw", "@/new.bin", "--result-png", "@/a/../new.bin"},
       {"--raw", "--result-png"}},
      {"frame is the input", {"@/a/pic.bmp", "--frame-png", "@/a/pic.bmp"}, {"--frame-png"}},
      {"frame and result one file",
       {"@/a/pic.bmp", "--frame-png", "@/f.png", "--result-png", "@/f.png"},
       {"--frame-png", "--result-png", "same file"}},
      {"output is a named pipe", {"@/a/pic.bmp", "--raw", "@/pipe.raw"}, {"named pipe"}},
      {"output is a device", {"@/a/pic.bmp", "--raw", "/dev/full"}, {"/dev/full", "a device"}},
      {"output is a folder", {"@/a/pic.bmp", "--out-dir", "@/out"}, {"@/out/pic.raw", "folder"}},
      {"empty input name", {"", "--raw", "@/x.raw"}, {"--test-picture"}},
  };
  for (const auto& row : rows) {
    const ParseOutcome outcome = Parse(row.arguments);
    EXPECT_FALSE(outcome.options.has_value()) << row.name;
    EXPECT_EQ(outcome.exitCode, 2) << row.name;
    for (std::string named : row.named) {
      if (const auto at = named.find('@'); at != std::string::npos) {
        named.replace(at, 1, root_.string());
      }
      EXPECT_NE(outcome.message.find(named), std::string::npos)
          << row.name << ": " << outcome.message;
    }
  }
  EXPECT_FALSE(fs::exists(root_ / "new")) << "nothing is written";
  EXPECT_EQ(fs::status(root_ / "pipe.raw").type(), fs::file_type::fifo);
}

TEST_F(OutputPaths, DistinctOutputsPass)
{
  fs::create_directories(root_ / "new");  // --out-dir must exist
  EXPECT_EQ(Parse({"@/a/pic.bmp", "@/a/other.bmp", "--out-dir", "@/new"}).exitCode, 0);
  EXPECT_EQ(Parse({"@/a/pic.bmp", "--raw", "@/a/pic.raw", "--prg", "@/a/pic.prg"}).exitCode, 0);
  EXPECT_EQ(Parse({"--test-picture", "@/a/pic.bmp", "--out-dir", "@/a/"}).exitCode, 0)
      << "writing beside the input is fine when no name is the input's";
}

}  // namespace
}  // namespace pavona::cli
