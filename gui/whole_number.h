#pragma once

#include <optional>
#include <string_view>

namespace pavona {

// The text of a number edit field as a whole number, or 0 when it is not one.
// Accepted: optional spaces or tabs, an optional '+' or '-', one or more
// decimal digits, optional spaces or tabs, and nothing else. A value outside
// the 32-bit int range is not a whole number either (0): the caller limits
// what it gets to its own range, but only for numbers it could hold.
int ParseWholeNumber(std::string_view text);

// The same reading, with no value for text that is not a whole number (where
// "0" and "abc" must differ).
std::optional<int> ReadWholeNumber(std::string_view text);

}  // namespace pavona
