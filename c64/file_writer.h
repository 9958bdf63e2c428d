#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace pavona {

// Writes bytes to a file so that the file is either replaced whole or left as
// it was. On Linux the bytes go to an unnamed file in the target's folder
// (O_TMPFILE), which only gets a name once it is complete and flushed to disk,
// so a process killed half-way leaves nothing behind; where the file system
// cannot do that, a hidden temporary file beside the target is renamed over
// it. The folder is flushed too, so that the new name survives a power cut.
// Replacing an existing file links the complete file under a hidden name
// beside it and renames that over the target; the hidden copies a killed
// process left that way are removed by the next save of the target. An
// existing file keeps its permissions. A target that exists but is not
// a regular file (a folder, a named pipe, a device, a symbolic link) is
// refused rather than replaced.
// Returns an empty string on success, else a message naming the file and the
// reason ("cannot save /a/b.prg: Permission denied").
[[nodiscard]] std::string WriteFileAtomically(const std::filesystem::path& path,
                                              std::span<const std::uint8_t> bytes);

// Empty when `path` does not exist or is a regular file; otherwise what it is
// ("a named pipe", "a symbolic link", ...), for messages that refuse to write
// over it. Symbolic links are not followed.
std::string NonRegularFileKind(const std::filesystem::path& path);

}  // namespace pavona
