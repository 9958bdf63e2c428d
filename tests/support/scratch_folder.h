#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace pavona::testing {

inline std::string DataFile(const std::string& name)
{
  return std::string(PAVONA_TEST_DATA_DIR) + "/" + name;
}

inline std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// A folder of its own for the files one test writes, removed afterwards.
class ScratchFolder {
 public:
  ScratchFolder()
  {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            ("pavona_io_" + std::string(test->name()) + "_" + std::to_string(::getpid()));
    std::filesystem::create_directories(path_);
  }
  ~ScratchFolder() { std::filesystem::remove_all(path_); }

  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
  {
    const std::string file = (path_ / name).string();
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return file;
  }
  std::string Path(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Folder() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace pavona::testing
