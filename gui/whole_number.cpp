#include "gui/whole_number.h"

#include <charconv>

namespace pavona {

namespace {

bool IsBlank(char c)
{
  return c == ' ' || c == '\t';
}

}  // namespace

int ParseWholeNumber(std::string_view text)
{
  return ReadWholeNumber(text).value_or(0);
}

std::optional<int> ReadWholeNumber(std::string_view text)
{
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  // from_chars takes a '-' but not a '+'; a sign must be followed by a digit.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') {
      return std::nullopt;
    }
  }
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

}  // namespace pavona
