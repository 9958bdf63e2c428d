#include "c64/file_writer.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

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

}  // namespace
}  // namespace pavona
