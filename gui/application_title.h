#pragma once

namespace pavona {

// The caption of message boxes and the name the desktop shows for the program.
inline constexpr char ApplicationTitle[] = "Pavona Hi-FLI Convertor";

}  // namespace pavona
