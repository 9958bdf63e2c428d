#include "gui/whole_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace pavona {
namespace {

TEST(ParseWholeNumber, ReadsDecimalWholeNumbersAndGivesZeroForAnythingElse)
{
  struct Case {
    std::string text;
    int value;
  };
  const Case cases[] = {
      {"0", 0},
      {"42", 42},
      {"-17", -17},
      {"+5", 5},
      {"007", 7},
      {"300", 300},  // the track bar limits it, not the parser
      {"  12", 12},
      {"12  ", 12},
      {"\t-3\t", -3},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      // Not whole numbers:
      {"", 0},
      {"   ", 0},
      {"abc", 0},
      {"12abc", 0},
      {"1 2", 0},
      {"- 7", 0},
      {"--7", 0},
      {"+-7", 0},
      {"-+7", 0},
      {"++7", 0},
      {"+", 0},
      {"-", 0},
      {"1.5", 0},
      {"1e3", 0},
      {"0x1F", 0},
      {"$1F", 0},
      {"12\n", 0},
      {"\xEF\xBC\x91\xEF\xBC\x92", 0},  // full-width digits one and two
      {"2147483648", 0},                // beyond the int range
      {"-2147483649", 0},
      {"99999999999999999999", 0},
  };
  for (const Case& row : cases) {
    EXPECT_EQ(ParseWholeNumber(row.text), row.value) << '"' << row.text << '"';
  }
}

// A spinner steps from the number in its field, or from its own position when
// the field holds none: a typed 0 and text that is no number must differ.
TEST(ReadWholeNumber, TellsZeroFromTextThatIsNoNumber)
{
  struct Case {
    std::string text;
    std::optional<int> value;
  };
  const Case cases[] = {
      {"0", 0}, {" -0 ", 0}, {"+0", 0},   {"44", 44},
      {"", {}}, {"abc", {}}, {"0x0", {}}, {"2147483648", {}},
  };
  for (const Case& row : cases) {
    EXPECT_EQ(ReadWholeNumber(row.text), row.value) << '"' << row.text << '"';
  }
}

}  // namespace
}  // namespace pavona
