// Feeds arbitrary bytes to the Windows bitmap reader.
#include <cstdint>
#include <sstream>
#include <string>

#include "io/picture_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
  pavona::LoadedPicture picture;
  std::vector<std::string> warnings;
  const std::string error = pavona::ReadBitmap(in, size, picture, warnings);
  if (error.empty() && picture.pixels.size() != std::size_t(picture.width) * picture.height) {
    __builtin_trap();  // a picture that does not hold its own pixels
  }
  return 0;
}
