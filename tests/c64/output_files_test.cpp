// The raw data file, the C64 program file and its viewer headers, byte by
// byte against the layouts the C64 side expects.

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "c64/program_file.h"
#include "c64/raw_data_file.h"
#include "c64/scene_formats.h"

namespace pavona {
namespace {

C64Data RandomData()
{
  std::mt19937 random(42);
  C64Data data{};
  for (auto& byte : data) {
    byte = std::uint8_t(random());
  }
  return data;
}

struct Slice {
  int offset;
  int size;
};

// Every kind of conversion, with the slices of C64Data its files hold.
struct FileCase {
  const char* name;
  OutputKind kind;
  std::vector<Slice> slices;
  ViewerHeader viewer;
  int programSize;
};

const std::vector<FileCase>& FileCases()
{
  static const std::vector<FileCase> cases = {
      {"Hires Standard",
       {GraphicMode::HiresStandard, false, false},
       {{0x0000, 9216}},
       ViewerHeader::HiresViewer,
       9474},
      // Neither "Same Col Banks" nor one shared bitmap changes a hires standard file.
      {"Hires Standard, both options",
       {GraphicMode::HiresStandard, true, true},
       {{0x0000, 9216}},
       ViewerHeader::HiresViewer,
       9474},
      {"Hires Interlaced, Same Col Banks",
       {GraphicMode::HiresInterlaced, true, false},
       {{0x0000, 18432}},
       ViewerHeader::HiresFlipViewer,
       18690},
      {"Hires Interlaced",
       {GraphicMode::HiresInterlaced, false, false},
       {{0x0000, 18432}},
       ViewerHeader::HiresLineViewer,
       19202},
      {"Hires FLI",
       {GraphicMode::HiresFli, false, false},
       {{0x0000, 16384}},
       ViewerHeader::FliViewer,
       17154},
      {"Hires FLI Interlace, Same Col Banks",
       {GraphicMode::HiresFliInterlace, true, false},
       {{0x0000, 32768}},
       ViewerHeader::FliInterlaceViewer,
       33538},
      {"Hires FLI Interlace, 4 cols per 8x1",
       {GraphicMode::HiresFliInterlace, false, false},
       {{0x0000, 32768}},
       ViewerHeader::FliInterlaceViewer,
       33538},
      // The banks of both fields, then field 1's bitmap, which both fields share.
      {"Hires FLI Interlace, one bitmap",
       {GraphicMode::HiresFliInterlace, false, true},
       {{0x0000, 8192}, {0x4000, 8192}, {0x2000, 8192}},
       ViewerHeader::FliInterlaceViewer,
       25346},
  };
  return cases;
}

std::vector<std::uint8_t> Concatenate(const C64Data& data, const std::vector<Slice>& slices)
{
  std::vector<std::uint8_t> bytes;
  for (const Slice& slice : slices) {
    bytes.insert(bytes.end(), data.begin() + slice.offset,
                 data.begin() + slice.offset + slice.size);
  }
  return bytes;
}

TEST(RawDataFile, HoldsTheSlicesOfEveryKind)
{
  const C64Data data = RandomData();
  for (const FileCase& c : FileCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RawDataBytes(data, c.kind), Concatenate(data, c.slices));
  }
}

TEST(ProgramFile, IsTheViewerThenTheRawData)
{
  const C64Data data = RandomData();
  for (const FileCase& c : FileCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ViewerFor(c.kind), c.viewer);
    const std::vector<std::uint8_t> file = C64ProgramBytes(data, c.kind);
    ASSERT_EQ(int(file.size()), c.programSize);
    const auto header = ViewerHeaderBytes(c.viewer);
    const bool shortHeader =
        c.viewer == ViewerHeader::HiresViewer || c.viewer == ViewerHeader::HiresFlipViewer;
    const int headerSize = shortHeader ? 258 : 770;
    ASSERT_EQ(int(header.size()), headerSize);
    for (int i = 0; i < headerSize; ++i) {
      if (c.viewer == ViewerHeader::FliInterlaceViewer && i == 35) {
        // The shared-bitmap byte: 1 only when the file holds one bitmap.
        EXPECT_EQ(file[i], c.kind.sharedBitmap ? 1 : 0);
        continue;
      }
      ASSERT_EQ(file[i], header[i]) << "header byte " << i;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(file.begin() + headerSize, file.end()),
              Concatenate(data, c.slices));
  }
}

// A multicolour program file holds the picture as its editor file does, so
// that the viewer finds each part at a fixed distance from the header.
TEST(ProgramFile, MulticolourIsTheViewerThenTheEditorFileWithoutItsLoadAddress)
{
  struct Case {
    const char* name;
    GraphicMode mode;
    ViewerHeader viewer;
    int headerSize;
    int programSize;
  };
  const Case cases[] = {
      {"Multicolour", GraphicMode::Multicolour, ViewerHeader::MulticolourViewer, 258, 10259},
      {"Multicolour FLI", GraphicMode::MulticolourFli, ViewerHeader::MulticolourFliViewer, 770,
       18177},
      {"Multicolour Interlace", GraphicMode::MulticolourInterlace,
       ViewerHeader::MulticolourInterlaceViewer, 258, 19690},
  };
  const C64Data data = RandomData();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const OutputKind kind{c.mode, false, false};
    EXPECT_EQ(ViewerFor(kind), c.viewer);
    const auto header = ViewerHeaderBytes(c.viewer);
    ASSERT_EQ(int(header.size()), c.headerSize);
    std::vector<std::uint8_t> expected(header.begin(), header.end());
    const std::vector<std::uint8_t> scene = SceneFileBytes(data, kind);
    expected.insert(expected.end(), scene.begin() + 2, scene.end());
    const std::vector<std::uint8_t> file = C64ProgramBytes(data, kind);
    EXPECT_EQ(int(file.size()), c.programSize);
    EXPECT_EQ(file, expected);
  }
}

// The fixed part of each viewer header: load address $0800, BASIC line
// 10 SYS2062, a jump over the title to the code, the title, and for the
// interrupt-driven viewers the return-from-interrupt byte that NMI and reset
// point at.
TEST(ViewerHeaders, FixedBytes)
{
  struct HeaderCase {
    const char* name;
    ViewerHeader viewer;
    int size;
    std::string title;
    int codeStart;
    std::vector<std::pair<int, std::uint8_t>> bytesAfterTitle;  // address, value
  };
  const HeaderCase cases[] = {
      {"HiresViewer", ViewerHeader::HiresViewer, 258, "HIRES Displayer", 0x0821, {}},
      {"HiresFlipViewer", ViewerHeader::HiresFlipViewer, 258, "HIRES int Displayer", 0x0825, {}},
      {"HiresLineViewer",
       ViewerHeader::HiresLineViewer,
       770,
       "Hires int Displayer 2",
       0x082D,
       {{0x0827, 0x01}, {0x0828, 0x40}, {0x0829, 0x00}}},
      {"FliViewer",
       ViewerHeader::FliViewer,
       770,
       "AFLI Displayer",
       0x0825,
       {{0x0820, 0x40}, {0x0821, 0x00}}},
      {"FliInterlaceViewer",
       ViewerHeader::FliInterlaceViewer,
       770,
       "IAFLI Displayer",
       0x0827,
       {{0x0821, 0x00}, {0x0822, 0x40}, {0x0823, 0x00}}},
      {"MulticolourViewer", ViewerHeader::MulticolourViewer, 258, "MC Displayer", 0x081E, {}},
      {"MulticolourFliViewer",
       ViewerHeader::MulticolourFliViewer,
       770,
       "MC FLI Displayer",
       0x0827,
       {{0x0822, 0x40}, {0x0823, 0x00}}},
      {"MulticolourInterlaceViewer",
       ViewerHeader::MulticolourInterlaceViewer,
       258,
       "MC int Displayer",
       0x0822,
       {}},
  };
  // Load address, then $0800..$080D: zero byte, link $080C, line 10, SYS,
  // "2062", end of line, spare byte, end of program.
  const std::vector<std::uint8_t> basic = {0x00, 0x08, 0x00, 0x0C, 0x08, 0x0A, 0x00, 0x9E,
                                           '2',  '0',  '6',  '2',  0x00, 0x00, 0x00, 0x00};
  for (const HeaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto header = ViewerHeaderBytes(c.viewer);
    ASSERT_EQ(int(header.size()), c.size);
    auto at = [&](int address) { return header[2 + address - 0x0800]; };
    EXPECT_EQ(std::vector<std::uint8_t>(header.begin(), header.begin() + 16), basic);
    EXPECT_EQ(at(0x080E), 0x4C) << "JMP";
    EXPECT_EQ(at(0x080F) | (at(0x0810) << 8), c.codeStart);
    EXPECT_EQ(at(c.codeStart), 0x78) << "SEI first";
    const std::string title(header.begin() + 2 + 0x11, header.begin() + 2 + 0x11 + c.title.size());
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(at(0x0811 + int(c.title.size())), 0x00) << "end of the title";
    for (const auto& [address, value] : c.bytesAfterTitle) {
      EXPECT_EQ(at(address), value) << "at $" << std::hex << address;
    }
  }
  EXPECT_EQ(SharedBitmapByteOffset, 35);
}

}  // namespace
}  // namespace pavona
