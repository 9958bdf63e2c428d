#include "io/palette_file.h"

#include <gtest/gtest.h>

#include <string>

namespace pavona {
namespace {

std::string Lines(int count, const std::string& line = "10 20 30")
{
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += line + "\n";
  }
  return text;
}

TEST(PaletteFile, ReadsAViceFileWithCommentsAndDitherNumbers)
{
  const PaletteFileResult read =
      ReadPaletteFile(std::string(PAVONA_TEST_DATA_DIR) + "/colodore.vpl");
  ASSERT_TRUE(read.Ok()) << read.error;
  EXPECT_EQ(read.colours, PaletteColours(PaletteId::Colodore));
}

TEST(PaletteFile, AcceptsTheWaysALineMayBeWritten)
{
  struct Row {
    const char* name;
    std::string text;
    std::uint32_t colour0;
  };
  const Row rows[] = {
      {"upper and lower case", "aB Cd eF\n" + Lines(15), 0xABCDEF},
      {"comment after the colour", "01 02 03 # dark\n" + Lines(15), 0x010203},
      {"single digits and leading zeros", "1 002 0F 7\n" + Lines(15), 0x01020F},
      {"windows line ends, tabs, no last line end", "\t04\t05 06\r\n" + Lines(14) + "1 1 1",
       0x040506},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PaletteFileResult read = ParsePaletteText(row.text, "p.vpl");
    ASSERT_TRUE(read.Ok()) << read.error;
    EXPECT_EQ(read.colours[0], row.colour0);
    EXPECT_EQ(read.colours[1], 0x102030u);
  }
}

TEST(PaletteFile, ErrorsNameTheFileTheLineAndTheProblem)
{
  struct Row {
    const char* name;
    std::string text;
    const char* error;
  };
  const Row rows[] = {
      {"too few colours", "# fifteen\n" + Lines(15), "cannot read p.vpl: only 15 colours"},
      {"too many colours", "\n" + Lines(17), "cannot read p.vpl: line 18: more than 16 colours"},
      {"value over FF", Lines(3) + "10 1FF 30\n" + Lines(12), "line 4: 1FF is more than FF"},
      {"text", Lines(1) + "red green blue\n", "line 2: \"red\" is not a hexadecimal number"},
      {"a sign", "-1 0 0\n", "line 1: \"-1\" is not a hexadecimal number"},
      {"two numbers", Lines(5) + "10 20\n", "line 6: a colour line holds red, green and blue"},
      {"five numbers", "1 2 3 4 5\n", "line 1: a colour line holds"},
      {"bad fourth number", "1 2 3 x\n", "line 1: \"x\" is not"},
      {"empty file", "", "only 0 colours"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const PaletteFileResult read = ParsePaletteText(row.text, "p.vpl");
    EXPECT_FALSE(read.Ok());
    EXPECT_NE(read.error.find(row.error), std::string::npos) << read.error;
  }
}

TEST(PaletteFile, AFileThatCannotBeReadIsNamed)
{
  const PaletteFileResult missing = ReadPaletteFile("/nonexistent/dark.vpl");
  EXPECT_EQ(missing.error, "cannot read /nonexistent/dark.vpl: No such file or directory");
  const PaletteFileResult folder = ReadPaletteFile(PAVONA_TEST_DATA_DIR);
  EXPECT_NE(folder.error.find("it is a folder"), std::string::npos) << folder.error;
}

}  // namespace
}  // namespace pavona
