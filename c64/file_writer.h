#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace pavona {

// Writes bytes to a file so that the file is either replaced whole or left as
// it was: the bytes go to a temporary file beside it, which is flushed to disk
// and then renamed over it. An existing file keeps its permissions.
// Returns an empty string on success, else a message naming the file and the
// system's reason ("cannot save /a/b.prg: Permission denied").
[[nodiscard]] std::string WriteFileAtomically(const std::filesystem::path& path,
                                              std::span<const std::uint8_t> bytes);

}  // namespace pavona
