#include "io/printable_text.h"

#include <gtest/gtest.h>

namespace pavona {
namespace {

TEST(PrintableText, EscapesControlsAndBrokenUtf8AndKeepsText)
{
  const struct {
    const char* name;
    std::string text;
    std::string shown;
  } rows[] = {
      {"plain", "cannot read a b.vpl: line 4", "cannot read a b.vpl: line 4"},
      {"terminal title", "\x1b]0;owned\x07", "\\x1b]0;owned\\x07"},
      {"NUL, tab, DEL", std::string("a\0b\tc\x7f", 6), "a\\x00b\\x09c\\x7f"},
      {"UTF-8 kept", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xa8",
       "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x8e\xa8"},
      {"C1 control in UTF-8",
       "\xc2\x9b"
       "31m",
       "\\xc2\\x9b31m"},
      {"Latin-1 byte", "\xff.jpg", "\\xff.jpg"},
      {"overlong slash", "\xc0\xaf", "\\xc0\\xaf"},
      {"surrogate", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
      {"cut sequence at the end", "x\xe2\x82", "x\\xe2\\x82"},
      {"line break", "a\nb", "a\\x0ab"},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(PrintableText(row.text), row.shown) << row.name;
  }
  EXPECT_EQ(PrintableText("a\n\x1b", true), "a\n\\x1b");
}

}  // namespace
}  // namespace pavona
