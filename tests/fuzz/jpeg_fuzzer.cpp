// Feeds arbitrary bytes to the JPEG reader.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "io/picture_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  std::FILE* file = fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (file == nullptr) {
    return 0;
  }
  pavona::PictureFileResult read;
  // The program lets any file decode to 200 MB; a few such pictures a second
  // would be all the fuzzer tries. Every branch of the reader is reached at
  // a sixteenth of that.
  constexpr long long DecodeLimit = 12LL << 20;
  const std::string error =
      pavona::ReadJpeg(file, size, pavona::DecodeSizeNeeded(), read, DecodeLimit);
  const pavona::LoadedPicture& picture = read.picture;
  std::fclose(file);
  if (error.empty() && picture.pixels.size() != std::size_t(picture.width) * picture.height) {
    __builtin_trap();  // a picture that does not hold its own pixels
  }
  return 0;
}
