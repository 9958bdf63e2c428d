#include "io/printable_text.h"

#include <cstdint>

namespace pavona {
namespace {

// The length of the valid UTF-8 sequence starting text[at] that is no
// control character, or 0.
std::size_t PrintableSequenceLength(std::string_view text, std::size_t at)
{
  const auto byte = [&](std::size_t i) { return std::uint8_t(text[at + i]); };
  const std::uint8_t first = byte(0);
  if (first >= 0x20 && first < 0x7F) {
    return 1;
  }
  std::size_t length = 0;
  std::uint32_t value = 0;
  if (first >= 0xC2 && first <= 0xDF) {
    length = 2;
    value = first & 0x1F;
  } else if (first >= 0xE0 && first <= 0xEF) {
    length = 3;
    value = first & 0x0F;
  } else if (first >= 0xF0 && first <= 0xF4) {
    length = 4;
    value = first & 0x07;
  } else {
    return 0;
  }
  if (at + length > text.size()) {
    return 0;
  }
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) {
      return 0;
    }
    value = value << 6 | (byte(i) & 0x3F);
  }
  const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool overlong = value < smallest[length];
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  const bool control = value >= 0x80 && value <= 0x9F;
  return overlong || surrogate || control || value > 0x10FFFF ? 0 : length;
}

}  // namespace

std::string PrintableText(std::string_view text, bool keepNewlines)
{
  std::string printable;
  printable.reserve(text.size());
  for (std::size_t at = 0; at < text.size();) {
    if (keepNewlines && text[at] == '\n') {
      printable += '\n';
      ++at;
      continue;
    }
    if (const std::size_t length = PrintableSequenceLength(text, at); length > 0) {
      printable.append(text.substr(at, length));
      at += length;
      continue;
    }
    constexpr char Digits[] = "0123456789abcdef";
    const auto byte = std::uint8_t(text[at++]);
    printable += "\\x";
    printable += Digits[byte >> 4];
    printable += Digits[byte & 15];
  }
  return printable;
}

}  // namespace pavona
