#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/workspace.h"

namespace pavona {

// VICE's accurate C64 emulator, which starts a program file given with
// -autostart.
inline constexpr std::string_view EmulatorProgram = "x64sc";

// The emulator to start: a path with a slash is taken as it is; a bare name is
// looked up in the directories of searchPath (PATH's format, ':' between
// them). Returns the path of an executable file, or nothing.
std::optional<std::string> FindEmulator(const std::string& program, std::string_view searchPath);

// Writes the program file of the last conversion to a new temporary file and
// starts `x64sc -autostart FILE` in its own session, without waiting for it.
// The temporary file is removed when the emulator ends. `program` is the
// configured emulator, x64sc on PATH by default. Returns an empty string when
// the emulator started, else what went wrong ("cannot start x64sc: not found
// on PATH").
[[nodiscard]] std::string RunInEmulator(const Workspace& workspace,
                                        const std::string& program = std::string(EmulatorProgram));

}  // namespace pavona
