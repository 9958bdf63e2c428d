#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "io/picture_file.h"
#include "io/picture_readers.h"
#include "support/damaged_pictures.h"
#include "support/scratch_folder.h"

namespace pavona {
namespace {

namespace fs = std::filesystem;

std::string DataFile(const std::string& name)
{
  return std::string(PAVONA_TEST_DATA_DIR) + "/" + name;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class HostileFiles : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::vector<std::uint8_t>& bytes) const
  {
    return scratch_.Write(name, bytes);
  }

  const pavona::testing::ScratchFolder scratch_;
  const fs::path folder_ = scratch_.Folder();
};

// A named pipe with no writer used to block the reader forever; folders and
// devices are refused as well, before a byte is read.
TEST_F(HostileFiles, OnlyRegularFilesAreRead)
{
  const std::string pipe = (folder_ / "pipe.jpg").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
  const struct {
    std::string path;
    const char* reason;
  } rows[] = {{pipe, "pipe.jpg: it is a named pipe"},
              {folder_.string() + "/", "it is a folder"},
              {"/dev/zero", "zero: it is a device"},
              {"", "no file name given"}};
  for (const auto& row : rows) {
    const PictureFileResult result = ReadPictureFile(row.path);
    EXPECT_NE(result.error.find(row.reason), std::string::npos) << row.path << ": " << result.error;
  }
  // A symbolic link to a picture is read as the picture.
  fs::create_symlink(DataFile("bits24.bmp"), folder_ / "link.bmp");
  const PictureFileResult linked = ReadPictureFile((folder_ / "link.bmp").string());
  EXPECT_TRUE(linked.Ok()) << linked.error;
  EXPECT_EQ(linked.picture.width, 13);
}

TEST_F(HostileFiles, DamagedAndHostileFilesAreRefusedNamingTheFile)
{
  std::vector<std::uint8_t> rleBomb = ReadBytes(DataFile("rle8.bmp"));
  rleBomb[18] = 0x40, rleBomb[19] = 0x1F, rleBomb[22] = 0x58, rleBomb[23] = 0x1B;  // 8000 x 7000
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
    const char* reason;
  } rows[] = {
      {"text_bomb.png", test::PngTextLengthBomb(),
       "damaged PNG file (its tEXt chunk declares 2147483647 bytes"},
      {"component_bomb.jpg", test::JpegComponentBomb(), "declares a picture of 9216 x 9705 pixels"},
      {"rle_bomb.bmp", rleBomb, "declares a picture of 8000 x 7000 pixels"},
      {"unscanned.jpg", test::JpegWithOneScan(48, 32, 3, 6), "scans leave colour components out"},
      {"cut_scan.jpg", test::JpegWithScanCutShort(ReadBytes(DataFile("baseline.jpg"))),
       "picture data of a scan is cut short"},
      {"cut_scan_photo.jpg", ReadBytes(DataFile("cut_scan.jpg")),
       "picture data of a scan is cut short"},
  };
  for (const auto& row : rows) {
    const std::string path = Write(row.name, row.bytes);
    const PictureFileResult result = ReadPictureFile(path);
    EXPECT_FALSE(result.Ok()) << row.name;
    EXPECT_EQ(result.error.rfind("cannot read " + path + ": ", 0), 0u) << result.error;
    EXPECT_NE(result.error.find(row.reason), std::string::npos) << row.name << ": " << result.error;
  }
  // The same one-scan file with one component is a whole grey picture.
  const PictureFileResult grey =
      ReadPictureFile(Write("grey.jpg", test::JpegWithOneScan(48, 32, 1, 6)));
  ASSERT_TRUE(grey.Ok()) << grey.error;
  EXPECT_EQ(grey.picture.width, 48);
  EXPECT_EQ(grey.picture.pixels[0], MakeColour(128, 128, 128));
}

// Tolerated damage comes back as warnings for the program to show; libjpeg
// prints nothing itself.
TEST_F(HostileFiles, ToleratedDamageIsReportedNotPrinted)
{
  const std::string path =
      Write("stray.jpg", test::JpegWithStrayBytes(ReadBytes(DataFile("baseline.jpg"))));
  ::testing::internal::CaptureStderr();
  const PictureFileResult result = ReadPictureFile(path);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  ASSERT_TRUE(result.Ok()) << result.error;
  EXPECT_EQ(result.picture.pixels, ReadPictureFile(DataFile("baseline.jpg")).picture.pixels);
  ASSERT_EQ(result.warnings.size(), 1u);
  EXPECT_NE(result.warnings[0].find("3 extraneous bytes"), std::string::npos) << result.warnings[0];
  EXPECT_TRUE(ReadPictureFile(DataFile("baseline.jpg")).warnings.empty());
}

// Small files may declare any picture; what they may make the program use
// is capped. Measured in a child process, which starts small.
TEST_F(HostileFiles, BombsStayFarBelowThreeHundredMegabytes)
{
  const struct {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } rows[] = {{"text_bomb.png", test::PngTextLengthBomb()},
              {"component_bomb.jpg", test::JpegComponentBomb()}};
  for (const auto& row : rows) {
    const std::string path = Write(row.name, row.bytes);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      ::_exit(ReadPictureFile(path).Ok() ? 1 : 0);
    }
    int status = 0;
    struct rusage usage {};
    ASSERT_EQ(::wait4(child, &status, 0, &usage), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << row.name << " was accepted";
    EXPECT_LT(usage.ru_maxrss, 300 * 1024) << row.name << ": peak in kB";
  }
}

TEST(CheckPictureMemory, SmallFilesMayUseTwoHundredMegabytes)
{
  const long long megabyte = 1 << 20;
  const struct {
    const char* name;
    long long width, height, decoderBytes;
    std::uint64_t fileSize;
    bool allowed;
  } rows[] = {
      // clang-format off
      {"7000 x 7000 from 100 bytes",        7000, 7000, 0,               100,        true},
      {"7300 x 7300 from 100 bytes",        7300, 7300, 0,               100,        false},
      {"decoder memory counts",             5000, 5000, 120 * megabyte,  100,        false},
      {"a 100-megapixel photo of 1 MB",     10000, 10000, 0,             1 << 20,    true},
      {"its coefficients need 2 MB",        10000, 10000, 800 * megabyte, 1 << 20,   false},
      {"... and fit in 2 MB",               10000, 10000, 800 * megabyte, 2 << 20,   true},
      // clang-format on
  };
  for (const auto& row : rows) {
    EXPECT_EQ(CheckPictureMemory(row.width, row.height, row.decoderBytes, row.fileSize).empty(),
              row.allowed)
        << row.name;
  }
}

}  // namespace
}  // namespace pavona
