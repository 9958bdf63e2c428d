#include "c64/file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pavona {
namespace {

namespace fs = std::filesystem;

// A fresh directory for one test, removed afterwards.
struct ScratchDirectory {
  ScratchDirectory()
      : path(fs::temp_directory_path() /
             ("pavona-writer-" + std::to_string(::getpid()) + "-" +
              ::testing::UnitTest::GetInstance()->current_test_info()->name()))
  {
    fs::remove_all(path);
    fs::create_directories(path);
  }
  ~ScratchDirectory() { fs::remove_all(path); }
  fs::path path;
};

std::vector<std::uint8_t> ReadAll(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteRaw(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

int EntriesIn(const fs::path& directory)
{
  return int(std::distance(fs::directory_iterator(directory), fs::directory_iterator()));
}

TEST(WriteFileAtomically, CreatesAndReplacesFiles)
{
  ScratchDirectory scratch;
  const fs::path target = scratch.path / "picture.prg";
  const std::vector<std::uint8_t> first(9474, 0x11);
  ASSERT_EQ(WriteFileAtomically(target, first), "");
  EXPECT_EQ(ReadAll(target), first);

  // Replacing a longer file leaves nothing of it behind, and keeps its permissions.
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const std::vector<std::uint8_t> second = {1, 2, 3};
  ASSERT_EQ(WriteFileAtomically(target, second), "");
  EXPECT_EQ(ReadAll(target), second);
  struct stat status;
  ASSERT_EQ(::stat(target.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0640u);

  // A name without an extension is kept as it is; an empty file is a file.
  ASSERT_EQ(WriteFileAtomically(scratch.path / "noext", {}), "");
  EXPECT_TRUE(fs::is_regular_file(scratch.path / "noext"));
  EXPECT_EQ(fs::file_size(scratch.path / "noext"), 0u);
  EXPECT_EQ(EntriesIn(scratch.path), 2) << "no temporary file left";
}

TEST(WriteFileAtomically, FailureNamesTheFileAndKeepsTheOldOne)
{
  ScratchDirectory scratch;
  const std::vector<std::uint8_t> bytes(33538, 0x5A);

  // A folder that does not exist.
  const fs::path missing = scratch.path / "no such folder" / "picture.prg";
  const std::string missingError = WriteFileAtomically(missing, bytes);
  EXPECT_NE(missingError.find(missing.string()), std::string::npos) << missingError;
  EXPECT_NE(missingError.find("No such file or directory"), std::string::npos) << missingError;

  // The target is a folder: the rename fails after everything was written.
  const fs::path folder = scratch.path / "folder.prg";
  fs::create_directory(folder);
  const std::string folderError = WriteFileAtomically(folder, bytes);
  EXPECT_NE(folderError.find(folder.string()), std::string::npos) << folderError;
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(EntriesIn(scratch.path), 1) << "the temporary file is removed";

  // A write that fails half-way (the file size limit is reached; this works
  // for root too, who may write into read-only folders): the old file stays.
  const fs::path target = scratch.path / "picture.raw";
  const std::vector<std::uint8_t> old = {9, 8, 7, 6};
  WriteRaw(target, old);
  struct rlimit saved;
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string writeError = WriteFileAtomically(target, bytes);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_NE(writeError.find(target.string()), std::string::npos) << writeError;
  EXPECT_NE(writeError.find("File too large"), std::string::npos) << writeError;
  EXPECT_EQ(ReadAll(target), old);
  EXPECT_EQ(EntriesIn(scratch.path), 2) << "only the folder and the old file";
}

// Targets that are not regular files are refused and left as they are: a
// rename would replace a named pipe, a device or a symbolic link by a file.
TEST(WriteFileAtomically, RefusesTargetsThatAreNotRegularFiles)
{
  ScratchDirectory scratch;
  const std::vector<std::uint8_t> bytes(100, 0x42);
  const fs::path pipe = scratch.path / "pipe.prg";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const fs::path real = scratch.path / "real.prg";
  WriteRaw(real, {1, 2});
  const fs::path link = scratch.path / "link.prg";
  fs::create_symlink(real, link);
  const struct {
    const char* name;
    fs::path target;
    const char* kind;
  } rows[] = {{"named pipe", pipe, "a named pipe"},
              {"symbolic link", link, "a symbolic link"},
              {"device", "/dev/full", "a device"},
              {"folder", scratch.path, "a folder"}};
  for (const auto& row : rows) {
    const std::string error = WriteFileAtomically(row.target, bytes);
    EXPECT_NE(error.find(row.target.string()), std::string::npos) << row.name << ": " << error;
    EXPECT_NE(error.find(row.kind), std::string::npos) << row.name << ": " << error;
  }
  EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadAll(real), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_EQ(fs::status("/dev/full").type(), fs::file_type::character);
  EXPECT_EQ(EntriesIn(scratch.path), 3) << "no temporary file left";
}

// A process killed in the middle of a save (here by the file size limit's
// signal) leaves the old file and no temporary file behind.
TEST(WriteFileAtomically, KilledSaveLeavesNothingBehind)
{
  ScratchDirectory scratch;
  const fs::path target = scratch.path / "picture.raw";
  WriteRaw(target, {9, 8, 7});
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_DFL);
    struct rlimit small = {4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &small);
    (void)WriteFileAtomically(target, std::vector<std::uint8_t>(65536, 1));
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the save was not cut short";
  EXPECT_EQ(ReadAll(target), (std::vector<std::uint8_t>{9, 8, 7}));
  EXPECT_EQ(EntriesIn(scratch.path), 1) << "a temporary file was left behind";
}

// A folder the user may not write into. Root may write anywhere, so as root
// the save runs in a child process that has become the user "nobody".
TEST(WriteFileAtomically, ReadOnlyFolderIsReported)
{
  ScratchDirectory scratch;
  const fs::path folder = scratch.path / "locked";
  fs::create_directory(folder);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  ASSERT_EQ(::chmod(scratch.path.c_str(), 0755), 0);
  int channel[2];
  ASSERT_EQ(::pipe(channel), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (::geteuid() == 0 && ::setresuid(65534, 65534, 65534) != 0) {
      ::_exit(3);
    }
    const std::string error =
        WriteFileAtomically(folder / "picture.prg", std::vector<std::uint8_t>{1, 2, 3});
    (void)!::write(channel[1], error.data(), error.size());
    ::_exit(0);
  }
  ::close(channel[1]);
  char text[512] = {};
  const ssize_t length = ::read(channel[0], text, sizeof text - 1);
  ::close(channel[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::chmod(folder.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "could not drop root";
  const std::string error(text, std::size_t(std::max<ssize_t>(length, 0)));
  EXPECT_NE(error.find(folder.string() + "/picture.prg"), std::string::npos) << error;
  EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
  EXPECT_EQ(EntriesIn(folder), 0);
}

}  // namespace
}  // namespace pavona
