#include "io/picture_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "io/picture_readers.h"
#include "support/ppm_frame.h"
#include "support/scratch_folder.h"

namespace pavona {
namespace {

using testing::DataFile;
using testing::ReadBytes;
using testing::ScratchFolder;

// libjpeg prints some complaints about damaged files on stderr; the tests that
// feed it damaged files on purpose keep them off the test log.
class QuietStderr {
 public:
  QuietStderr() : saved_(::dup(STDERR_FILENO))
  {
    std::fflush(stderr);
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDERR_FILENO);
    ::close(null);
  }
  ~QuietStderr()
  {
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }

 private:
  int saved_;
};

std::uint32_t Rgb(int r, int g, int b)
{
  return MakeColour(r & 0xFF, g & 0xFF, b & 0xFF);
}

// The designs of the small bitmaps (13 x 6 pixels), as README.md gives them.
int PaletteIndex(int x, int y, int n)
{
  return (x + 3 * y + (x == 0 && y == 0 ? 1 : 0)) % n;
}
std::uint32_t PaletteColour(int i)
{
  return Rgb(i * 37 + 11, i * 91 + 7, 255 - i * 5);
}
std::uint32_t Gradient(int x, int y)
{
  return Rgb(x * 20 + 5, y * 45 + 3, x * y * 11);
}
std::uint32_t CubeColour(int x, int y)
{
  const int i = PaletteIndex(x, y, 8);
  return Rgb(i & 4 ? 255 : 0, i & 2 ? 255 : 0, i & 1 ? 255 : 0);
}
int RunIndex(int x, int y, int n, bool fourBit)
{
  return x < 5 ? (fourBit && x % 2 ? y + 7 : y) % n : x < 10 ? (6 + x + y) % n : (3 + 2 * y) % n;
}

struct BitmapCase {
  const char* file;
  std::function<std::uint32_t(int, int)> expected;
};

const BitmapCase BitmapCases[] = {
    {"bits1.bmp", [](int x, int y) { return PaletteColour(PaletteIndex(x, y, 2)); }},
    {"bits4.bmp", [](int x, int y) { return PaletteColour(PaletteIndex(x, y, 16)); }},
    {"bits8.bmp", [](int x, int y) { return PaletteColour(PaletteIndex(x * 17, y * 7, 256)); }},
    {"rle8.bmp", [](int x, int y) { return PaletteColour(RunIndex(x, y, 256, false) * 11 % 256); }},
    {"rle4.bmp", [](int x, int y) { return PaletteColour(RunIndex(x, y, 16, true)); }},
    {"bits16.bmp", CubeColour},
    {"bits16_565.bmp", CubeColour},
    {"bits24.bmp", Gradient},
    {"bits24_top_down.bmp", Gradient},
    {"bits32.bmp", Gradient},
};

TEST(ReadPictureFile, ReadsEveryKindOfBitmapWithTheDesignedPixels)
{
  for (const BitmapCase& row : BitmapCases) {
    SCOPED_TRACE(row.file);
    const PictureFileResult result = ReadPictureFile(DataFile(row.file));
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_EQ(result.picture.width, 13);
    ASSERT_EQ(result.picture.height, 6);
    ASSERT_EQ(result.picture.pixels.size(), 13u * 6u);
    for (int y = 0; y < 6; ++y) {
      for (int x = 0; x < 13; ++x) {
        ASSERT_EQ(result.picture.pixels[y * 13 + x], row.expected(x, y)) << x << ", " << y;
      }
    }
  }
}

TEST(ReadPictureFile, PngTransparencyIsShownOverBlack)
{
  const PictureFileResult result = ReadPictureFile(DataFile("alpha.png"));
  ASSERT_TRUE(result.Ok()) << result.error;
  ASSERT_EQ(result.picture.width, 13);
  ASSERT_EQ(result.picture.height, 6);
  for (int y = 0; y < 6; ++y) {
    for (int x = 0; x < 13; ++x) {
      std::uint32_t expected = Gradient(x, y);
      if (x == 12 && y == 5) {
        expected = 0;  // white at alpha 0
      } else if (x == 6 && y == 2) {
        expected = Rgb(100, 50, 25);  // (200, 100, 50) at alpha 128: about half of each
      }
      EXPECT_EQ(result.picture.pixels[y * 13 + x], expected) << x << ", " << y;
    }
  }
}

// The JPEG files are 48 x 32 with six flat 16 x 16 blocks, three across.
struct JpegCase {
  const char* file;
  std::array<std::uint32_t, 6> blocks;
};

const std::array<std::uint32_t, 6> ColourBlocks = {0xC81E1E, 0x1EA03C, 0x283CC8,
                                                   0xF0DC3C, 0xFAFAFA, 0x323232};
const JpegCase JpegCases[] = {
    {"baseline.jpg", ColourBlocks},
    {"progressive.jpg", ColourBlocks},
    {"exif.jpg", ColourBlocks},
    {"grey.jpg", {0x1E1E1E, 0x5A5A5A, 0x969696, 0xC8C8C8, 0xFAFAFA, 0x0A0A0A}},
    // Inks: cyan, magenta, yellow, black, half cyan, half black.
    {"cmyk_adobe.jpg", {0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000000, 0x7FFFFF, 0x7F7F7F}},
    {"cmyk_plain.jpg", {0x00FFFF, 0xFF00FF, 0xFFFF00, 0x000000, 0x7FFFFF, 0x7F7F7F}},
};

TEST(ReadPictureFile, ReadsJpegKindsWithTheDesignedColours)
{
  constexpr int Tolerance = 6;  // lossy compression of flat blocks at quality 95
  for (const JpegCase& row : JpegCases) {
    SCOPED_TRACE(row.file);
    const PictureFileResult result = ReadPictureFile(DataFile(row.file));
    ASSERT_TRUE(result.Ok()) << result.error;
    ASSERT_EQ(result.picture.width, 48);
    ASSERT_EQ(result.picture.height, 32);
    // Every pixel at least two pixels inside its block (edges ring a little).
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 48; ++x) {
        if (x % 16 < 2 || x % 16 > 13 || y % 16 < 2 || y % 16 > 13) {
          continue;
        }
        const std::uint32_t expected = row.blocks[(y / 16) * 3 + x / 16];
        const std::uint32_t got = result.picture.pixels[y * 48 + x];
        ASSERT_EQ(got >> 24, 0u);
        ASSERT_NEAR(RedOf(got), RedOf(expected), Tolerance) << x << ", " << y;
        ASSERT_NEAR(GreenOf(got), GreenOf(expected), Tolerance) << x << ", " << y;
        ASSERT_NEAR(BlueOf(got), BlueOf(expected), Tolerance) << x << ", " << y;
        if (std::string(row.file) == "grey.jpg") {
          ASSERT_TRUE(RedOf(got) == GreenOf(got) && GreenOf(got) == BlueOf(got));
        }
      }
    }
  }
}

TEST(ReadPictureFile, JpegOfARealPhotoMatchesThePhoto)
{
  const Picture photo = testing::ReadPpmFrame("coffee_frame.ppm");
  const PictureFileResult result = ReadPictureFile(DataFile("coffee_frame.jpg"));
  ASSERT_TRUE(result.Ok()) << result.error;
  ASSERT_EQ(result.picture.width, PictureWidth);
  ASSERT_EQ(result.picture.height, PictureHeight);
  // Quality 85: small errors everywhere, none large; a swapped channel or a
  // shifted row would give errors of tens.
  long long total = 0;
  for (int i = 0; i < PixelCount; ++i) {
    const std::uint32_t a = photo[i], b = result.picture.pixels[i];
    total += std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
             std::abs(BlueOf(a) - BlueOf(b));
  }
  EXPECT_LT(double(total) / (3.0 * PixelCount), 3.0);
}

TEST(ReadPictureFile, RefusesBadFilesWithAMessageNamingFileAndReason)
{
  const QuietStderr quiet;
  const ScratchFolder folder;
  const std::vector<std::uint8_t> rle = ReadBytes(DataFile("rle8.bmp"));
  const std::vector<std::uint8_t> png = ReadBytes(DataFile("alpha.png"));
  std::vector<std::uint8_t> gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0};
  // "JFIF" at byte 6 but no JPEG start: the old kind of test would take it.
  std::vector<std::uint8_t> fakeJfif = {'x', 'x', 'x', 'x', 'x', 'x', 'J', 'F', 'I', 'F', 0};
  struct Case {
    std::string path;
    std::string name;
    std::string reason;
  };
  const Case cases[] = {
      {DataFile("truncated.jpg"), "truncated.jpg", "the file ends before the end of the picture"},
      {DataFile("truncated.bmp"), "truncated.bmp", "the file ends before the end of the picture"},
      {folder.Write("cut_rle.bmp", std::vector(rle.begin(), rle.end() - 30)), "cut_rle.bmp",
       "the file ends before the end of the picture"},
      {DataFile("tiny.jpg"), "tiny.jpg", "the file ends before the end of the picture"},
      {DataFile("tiny.bmp"), "tiny.bmp", "damaged bitmap file (the header is incomplete)"},
      {folder.Write("cut.png", std::vector(png.begin(), png.end() - 40)), "cut.png",
       "damaged PNG file (its IDAT chunk declares"},
      {folder.Write("no_end.png", std::vector(png.begin(), png.end() - 12)), "no_end.png",
       "the file ends before the end of the picture"},
      {DataFile("not_a_picture.txt"), "not_a_picture.txt", "not a JPEG, bitmap or PNG file"},
      {folder.Write("photo.gif", gif), "photo.gif", "not a JPEG, bitmap or PNG file"},
      {folder.Write("fake.jpg", fakeJfif), "fake.jpg", "not a JPEG, bitmap or PNG file"},
      {folder.Write("empty.jpg", {}), "empty.jpg", "not a JPEG, bitmap or PNG file"},
      {folder.Path("missing.jpg"), "missing.jpg", "No such file or directory"},
      {folder.Path(""), "", "it is a folder, not a file"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.path);
    const PictureFileResult result = ReadPictureFile(row.path);
    EXPECT_FALSE(result.Ok());
    if (!row.name.empty()) {
      EXPECT_EQ(result.error.rfind("cannot read " + row.path + ": " + row.reason, 0), 0u)
          << result.error;
    } else {
      EXPECT_NE(result.error.find(row.reason), std::string::npos) << result.error;
    }
    EXPECT_TRUE(result.picture.pixels.empty());
    EXPECT_EQ(result.picture.width, 0);
  }
}

void Put16(std::vector<std::uint8_t>& bytes, std::size_t at, int value, bool bigEndian)
{
  bytes[at + (bigEndian ? 0 : 1)] = std::uint8_t(value >> 8);
  bytes[at + (bigEndian ? 1 : 0)] = std::uint8_t(value);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value, bool bigEndian)
{
  for (int i = 0; i < 4; ++i) {
    bytes[at + (bigEndian ? 3 - i : i)] = std::uint8_t(value >> (8 * i));
  }
}

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size)
{
  std::uint32_t crc = 0xFFFFFFFF;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) {
      crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
  }
  return ~crc;
}

// Copies of the small files whose headers claim another size, written to
// `folder`; their pixel data is far too short, so a reader that does not
// check the size first would allocate the picture and then fail otherwise.
std::string WithJpegSize(const ScratchFolder& folder, int width, int height)
{
  std::vector<std::uint8_t> bytes = ReadBytes(DataFile("baseline.jpg"));
  for (std::size_t i = 2; i + 9 < bytes.size(); ++i) {
    if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {  // start of frame: height, then width
      Put16(bytes, i + 5, height, true);
      Put16(bytes, i + 7, width, true);
      break;
    }
  }
  return folder.Write("big.jpg", bytes);
}

std::string WithBitmapSize(const ScratchFolder& folder, int width, int height)
{
  std::vector<std::uint8_t> bytes = ReadBytes(DataFile("bits24.bmp"));
  Put32(bytes, 18, std::uint32_t(width), false);
  Put32(bytes, 22, std::uint32_t(height), false);
  return folder.Write("big.bmp", bytes);
}

std::string WithPngSize(const ScratchFolder& folder, int width, int height)
{
  std::vector<std::uint8_t> bytes = ReadBytes(DataFile("alpha.png"));
  Put32(bytes, 16, std::uint32_t(width), true);  // IHDR data follows its type at 12
  Put32(bytes, 20, std::uint32_t(height), true);
  Put32(bytes, 29, Crc32(&bytes[12], 17), true);
  return folder.Write("big.png", bytes);
}

TEST(ReadPictureFile, RefusesOversizedPicturesFromTheirHeaders)
{
  const ScratchFolder folder;
  const std::function<std::string(const ScratchFolder&, int, int)> writers[] = {
      WithJpegSize, WithBitmapSize, WithPngSize};
  for (const auto& write : writers) {
    for (const auto& [width, height] : {std::pair{20000, 8}, {8, 16385}, {12000, 9000}}) {
      const std::string path = write(folder, width, height);
      SCOPED_TRACE(path + " " + std::to_string(width) + " x " + std::to_string(height));
      const PictureFileResult result = ReadPictureFile(path);
      EXPECT_FALSE(result.Ok());
      const std::string size = std::to_string(width) + " x " + std::to_string(height);
      EXPECT_NE(result.error.find("the picture is " + size + " pixels"), std::string::npos)
          << result.error;
      EXPECT_NE(result.error.find("16384 pixels on a side and 100 million pixels"),
                std::string::npos);
    }
  }
  // A top-down bitmap stores its height negated.
  const PictureFileResult topDown = ReadPictureFile(WithBitmapSize(folder, 12000, -9000));
  EXPECT_NE(topDown.error.find("12000 x 9000"), std::string::npos) << topDown.error;

  // The limits themselves: a side up to 16384, up to 100 million pixels.
  EXPECT_EQ(CheckPictureSize(16384, 6103), "");
  EXPECT_EQ(CheckPictureSize(10000, 10000), "");
  EXPECT_EQ(CheckPictureSize(1, 16384), "");
  EXPECT_NE(CheckPictureSize(16385, 1), "");
  EXPECT_NE(CheckPictureSize(1, 16385), "");
  EXPECT_NE(CheckPictureSize(10000, 10001), "");
  EXPECT_NE(CheckPictureSize(0, 10), "");
  EXPECT_NE(CheckPictureSize(10, -1), "");
}

TEST(PictureFileKindOf, TellsTheKindFromTheFirstBytes)
{
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
    PictureFileKind kind;
  };
  const Case cases[] = {
      {"JFIF", {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F'}, PictureFileKind::Jpeg},
      {"Exif", {0xFF, 0xD8, 0xFF, 0xE1, 0, 20, 'E', 'x'}, PictureFileKind::Jpeg},
      {"bare start of a JPEG", {0xFF, 0xD8, 0xFF}, PictureFileKind::Jpeg},
      {"two bytes of a JPEG", {0xFF, 0xD8}, PictureFileKind::Unknown},
      {"bitmap", {'B', 'M', 0x36, 0}, PictureFileKind::Bitmap},
      {"a lone B", {'B'}, PictureFileKind::Unknown},
      {"OS/2 bitmap array", {'B', 'A', 0, 0}, PictureFileKind::Unknown},
      {"PNG", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}, PictureFileKind::Png},
      {"PNG sent as text", {0x89, 'P', 'N', 'G', '\n', '\n', 0x1A, '\n'}, PictureFileKind::Unknown},
      {"J at byte 6 only", {'x', 'x', 'x', 'x', 'x', 'x', 'J', 'F'}, PictureFileKind::Unknown},
      {"GIF", {'G', 'I', 'F', '8', '9', 'a'}, PictureFileKind::Unknown},
      {"nothing", {}, PictureFileKind::Unknown},
  };
  for (const Case& row : cases) {
    EXPECT_EQ(PictureFileKindOf(row.bytes), row.kind) << row.name;
  }
}

// Cut and scrambled copies of every good file: each must come back as a
// picture of consistent size or as an error, never crash or hang (the
// sanitizer build checks the memory accesses).
TEST(ReadPictureFile, SurvivesCutAndScrambledFiles)
{
  const QuietStderr quiet;
  const ScratchFolder folder;
  std::mt19937 random(20240611);
  const char* files[] = {"bits1.bmp",     "bits4.bmp",    "bits8.bmp",       "rle8.bmp",
                         "rle4.bmp",      "bits16.bmp",   "bits16_565.bmp",  "bits32.bmp",
                         "alpha.png",     "baseline.jpg", "progressive.jpg", "grey.jpg",
                         "cmyk_adobe.jpg"};
  for (const char* file : files) {
    const std::vector<std::uint8_t> original = ReadBytes(DataFile(file));
    std::vector<std::vector<std::uint8_t>> variants;
    for (std::size_t length = 0; length < original.size(); length += original.size() / 20 + 1) {
      variants.emplace_back(original.begin(), original.begin() + length);
    }
    for (int i = 0; i < 40; ++i) {
      std::vector<std::uint8_t> scrambled = original;
      for (int k = 0; k < 3; ++k) {
        // Keep the signature so that the file reaches its decoder.
        scrambled[3 + random() % (scrambled.size() - 3)] = std::uint8_t(random());
      }
      variants.push_back(scrambled);
    }
    for (std::size_t v = 0; v < variants.size(); ++v) {
      const std::string path = folder.Write(std::string("variant_") + file, variants[v]);
      const PictureFileResult result = ReadPictureFile(path);
      SCOPED_TRACE(std::string(file) + " variant " + std::to_string(v));
      if (result.Ok()) {
        ASSERT_EQ(result.picture.pixels.size(),
                  std::size_t(result.picture.width) * std::size_t(result.picture.height));
        ASSERT_TRUE(CheckPictureSize(result.picture.width, result.picture.height).empty());
        for (const std::uint32_t pixel : result.picture.pixels) {
          ASSERT_EQ(pixel >> 24, 0u);
        }
      } else {
        ASSERT_EQ(result.error.rfind("cannot read " + path + ": ", 0), 0u) << result.error;
      }
    }
  }
}

}  // namespace
}  // namespace pavona
