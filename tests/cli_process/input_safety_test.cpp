// The palette file, damaged bitmaps, hostile file content and names, the
// --out-dir folder and the leftovers of killed saves, through the real
// command line.
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "run_cli.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& path)
{
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

void WriteBytes(const fs::path& path, const std::string& bytes)
{
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string DataFile(const char* name)
{
  return std::string(PAVONA_TEST_DATA_DIR) + "/" + name;
}

class InputSafety : public ::testing::Test {
 protected:
  void SetUp() override
  {
    directory_ = fs::temp_directory_path() /
                 ("pavona-input-safety-" + std::to_string(getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }
  std::string At(const std::string& name) const { return (directory_ / name).string(); }
  fs::path directory_;
};

TEST_F(InputSafety, NoOutputReplacesThePaletteFile)
{
  const std::string palette = Bytes(DataFile("colodore.vpl"));
  const struct {
    const char* name;
    const char* paletteName;
    std::vector<std::string> outputs;
    const char* option;  // named in the message
  } rows[] = {
      {"--result-png", "my.vpl", {"--result-png", "@my.vpl"}, "--result-png"},
      {"--raw", "my.vpl", {"--raw", "@my.vpl"}, "--raw"},
      {"--prg by another spelling", "my.vpl", {"--prg", "@sub/../my.vpl"}, "--prg"},
      {"--save", "my.art", {"--mode", "hires", "--save", "@my.art"}, "--save"},
      {"--frame-png", "my.vpl", {"--frame-png", "@my.vpl"}, "--frame-png"},
      {"--out-dir", "test-picture.png", {"--out-dir", "@"}, "--out-dir"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    fs::remove_all(directory_);
    fs::create_directories(directory_ / "sub");
    const std::string palettePath = At(row.paletteName);
    WriteBytes(palettePath, palette);
    std::vector<std::string> arguments = {"--test-picture", "--palette-file", palettePath};
    for (std::string argument : row.outputs) {
      arguments.push_back(argument[0] == '@' ? At(argument.substr(1)) : argument);
    }
    const ProcessOutcome outcome = RunCli(arguments);
    EXPECT_EQ(outcome.status, 2) << outcome.errors;
    EXPECT_NE(outcome.errors.find(row.option), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find("palette file " + palettePath), std::string::npos)
        << outcome.errors;
    EXPECT_EQ(Bytes(palettePath), palette);
    EXPECT_EQ(std::distance(fs::directory_iterator(directory_), fs::directory_iterator()), 2)
        << "nothing but the palette file and sub/";
  }
}

// A named pipe or a device is refused at once, and a file past the bound is
// not read on; nothing else is read into memory without end.
TEST_F(InputSafety, APaletteFileIsReadOnlyWhenItIsARegularFileOfSensibleSize)
{
  ASSERT_EQ(mkfifo(At("pipe.vpl").c_str(), 0644), 0);
  WriteBytes(At("huge.vpl"), std::string(70 * 1024, '#'));
  const struct {
    const char* name;
    std::string path;
    const char* message;
  } rows[] = {
      {"named pipe", At("pipe.vpl"), "it is a named pipe"},
      {"endless device", "/dev/zero", "it is a device"},
      {"larger than 64 KB", At("huge.vpl"), "larger than 64 KB"},
  };
  // A reader that reads on without end runs into the memory limit; under the
  // address and thread sanitizers, which reserve more address space than any
  // limit leaves, the deadline catches it instead.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  const rlim_t memoryLimit = 0;
#else
  const rlim_t memoryLimit = rlim_t(1) << 30;
#endif
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ProcessOutcome outcome =
        RunCli({"--test-picture", "--palette-file", row.path, "--raw", At("out.raw")}, memoryLimit,
               std::chrono::seconds(20));
    EXPECT_FALSE(outcome.timedOut);
    EXPECT_EQ(outcome.status, 1) << outcome.errors;
    EXPECT_NE(outcome.errors.find("cannot read " + row.path + ": " + row.message),
              std::string::npos)
        << outcome.errors;
    EXPECT_FALSE(fs::exists(At("out.raw")));
  }
}

// Whatever a file holds or is called, its control bytes reach the terminal
// escaped; files are named as the user gave them.
TEST_F(InputSafety, MessagesEscapeControlBytesAndNameFilesAsGiven)
{
  const char title[] = "\x1b]0;owned\x07\0x 00 00\n";
  WriteBytes(At("title.vpl"), std::string(title, sizeof title - 1));
  const struct {
    const char* name;
    std::vector<std::string> arguments;
    std::string says;
  } rows[] = {
      {"terminal title in a palette line",
       {"--test-picture", "--palette-file", At("title.vpl"), "--raw", At("o.raw")},
       "\"\\x1b]0;owned\\x07\\x00x\" is not"},
      {"escape sequence and a stray byte in a file name",
       {At("red\x1b[31m\xff.jpg"), "--raw", At("o.raw")},
       "cannot read " + At("red\\x1b[31m\\xff.jpg") + ": No such file"},
      {"device named as given", {"/dev/null", "--raw", At("o.raw")}, "cannot read /dev/null: "},
      {"palette in a folder named as given",
       {"--test-picture", "--palette-file", At("sub/dark.vpl"), "--raw", At("o.raw")},
       "cannot read " + At("sub/dark.vpl") + ": No such file"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ProcessOutcome outcome = RunCli(row.arguments);
    EXPECT_EQ(outcome.status, 1) << outcome.errors;
    EXPECT_NE(outcome.errors.find(row.says), std::string::npos) << outcome.errors;
    for (const char raw : {'\x1b', '\x07', '\0', '\xff'}) {
      EXPECT_EQ(outcome.errors.find(raw), std::string::npos) << int(raw) << ": " << outcome.errors;
    }
  }
}

TEST_F(InputSafety, AnOutDirThatCannotTakeTheFilesStopsBeforeConverting)
{
  WriteBytes(At("file"), "x");
  const struct {
    const char* name;
    std::string outDir;
    const char* says;
  } rows[] = {
      {"missing", At("missing"), "No such file or directory"},
      {"a file", At("file"), "is not a folder"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    const ProcessOutcome outcome = RunCli({"--test-picture", DataFile("coffee_frame.jpg"),
                                           "--out-dir", row.outDir, "--mode", "hires"});
    EXPECT_EQ(outcome.status, 2) << outcome.errors;
    EXPECT_NE(outcome.errors.find("--out-dir " + row.outDir), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find(row.says), std::string::npos) << outcome.errors;
    EXPECT_EQ(outcome.errors.find("cannot save"), std::string::npos) << outcome.errors;
  }
}

// Each kind of damage loads with a warning, or is refused where no right
// picture can come of it; a bitmap is changed at byte `at`.
TEST_F(InputSafety, DamagedBitmapsWarnOrAreRefused)
{
  const auto Patched = [](const char* file, std::size_t at, std::string bytes) {
    std::string content = Bytes(DataFile(file));
    return content.replace(at, bytes.size(), bytes);
  };
  const std::string zero(4, '\0');
  std::string narrowRle = Patched("rle8.bmp", 18, std::string("\x09\0\0\0", 4));  // 13 -> 9 wide
  const struct {
    const char* name;
    std::string bytes;
    int status;
    const char* says;
  } rows[] = {
      {"pixel offset 0", Patched("bits24.bmp", 10, zero), 0, "warning: "},
      {"pixel offset in the header", Patched("bits24.bmp", 10, std::string("\x14\0\0\0", 4)), 0,
       "points into the header"},
      {"8-bit colour table missing", Patched("bits8.bmp", 10, std::string("\x36\0\0\0", 4)), 1,
       "colour table of 256 colours is missing"},
      {"8-bit colour table cut short", Patched("bits8.bmp", 10, std::string("\x36\1\0\0", 4)), 0,
       "holds only 64 of its 256 colours"},
      {"run-length codes past the edge", narrowRle, 0, "past the picture's edge"},
      {"all-zero bit-field masks", Patched("bits16_565.bmp", 54, zero + zero + zero), 0,
       "colour masks are all zero"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WriteBytes(At("damaged.bmp"), row.bytes);
    const ProcessOutcome outcome =
        RunCli({At("damaged.bmp"), "--frame-png", At("frame.png"), "--mode", "hires"});
    EXPECT_EQ(outcome.status, row.status) << outcome.errors;
    EXPECT_NE(outcome.errors.find(row.says), std::string::npos) << outcome.errors;
    EXPECT_NE(outcome.errors.find(row.status == 0 ? "warning: damaged.bmp: damaged bitmap"
                                                  : "cannot read " + At("damaged.bmp")),
              std::string::npos)
        << outcome.errors;
  }
}

// A save killed between naming its copy and renaming it leaves
// .NAME.saving-PID-N; the next save of NAME removes those of dead processes
// and leaves those of running ones.
TEST_F(InputSafety, TheNextSaveRemovesTheCopiesOfKilledSaves)
{
  const pid_t dead = fork();
  if (dead == 0) {
    _exit(0);
  }
  waitpid(dead, nullptr, 0);
  const std::string deadCopy = At(".out.raw.saving-" + std::to_string(dead) + "-0");
  const std::string liveCopy = At(".out.raw.saving-" + std::to_string(getpid()) + "-0");
  WriteBytes(deadCopy, "left");
  WriteBytes(liveCopy, "in progress");
  WriteBytes(At("out.raw"), "old");
  if (access("/usr/bin/strace", X_OK) == 0) {
    // Killed at the rename itself, where the strace on this machine can.
    RunCommand({"/usr/bin/strace", "-f", "-o", "/dev/null", "-e", "inject=rename:signal=SIGKILL",
                PAVONA_CLI_PATH, "--test-picture", "-q", "--raw", At("out.raw")});
  }
  const ProcessOutcome outcome = RunCli({"--test-picture", "-q", "--raw", At("out.raw")});
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(fs::file_size(At("out.raw")), 32768u);
  std::vector<std::string> left;
  for (const fs::directory_entry& entry : fs::directory_iterator(directory_)) {
    left.push_back(entry.path().string());
  }
  EXPECT_EQ(left.size(), 2u);
  EXPECT_TRUE(fs::exists(liveCopy));
}

}  // namespace
}  // namespace pavona
