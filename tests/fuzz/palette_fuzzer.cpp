// Feeds arbitrary bytes to the palette file reader, through a file as the
// programs read it, and checks that its message prints safely.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/memory_file.h"
#include "io/palette_file.h"
#include "io/printable_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const pavona::fuzz::MemoryFile file(data, size);
  if (!file.Ok()) {
    return 0;
  }
  const pavona::PaletteFileResult read = pavona::ReadPaletteFile(file.Path());
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const pavona::PaletteFileResult parsed = pavona::ParsePaletteText(text, file.Path());
  if (read.Ok() != parsed.Ok() || read.colours != parsed.colours) {
    __builtin_trap();  // the file and its text read differently
  }
  for (const char byte : pavona::PrintableText(read.error)) {
    if (std::uint8_t(byte) < 0x20 || byte == 0x7F) {
      __builtin_trap();  // a control byte would reach the terminal
    }
  }
  return 0;
}
