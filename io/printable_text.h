#pragma once

#include <string>
#include <string_view>

namespace pavona {

// Text that quotes a file's content or a file name, made safe to print on a
// terminal or show in a window: control characters (C0, DEL and the UTF-8
// C1 range) and bytes that are not valid UTF-8 become \xNN, so that an escape
// sequence in a file cannot retitle or reprogram the user's terminal. Valid
// UTF-8 text is kept as it is; with keepNewlines, so are line breaks (for
// messages of several lines).
std::string PrintableText(std::string_view text, bool keepNewlines = false);

}  // namespace pavona
