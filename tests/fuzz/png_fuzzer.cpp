// Feeds arbitrary bytes to the PNG structure check and, when it passes, to
// the PNG reader, as ReadPictureFile does.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "fuzz/memory_file.h"
#include "io/picture_readers.h"
#include "io/png_chunks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const pavona::fuzz::MemoryFile file(data, size);
  pavona::PngHeader header;
  if (!file.Ok() || !pavona::CheckPngChunks(file.Descriptor(), size, header).empty() ||
      !pavona::CheckPictureMemory(header.width, header.height, pavona::PngDecoderBytes(header),
                                  size)
           .empty()) {
    return 0;
  }
  pavona::LoadedPicture picture;
  std::vector<std::string> warnings;
  std::FILE* stream = std::fopen(file.Path().c_str(), "rb");
  if (stream == nullptr) {
    return 0;
  }
  const std::string error = pavona::ReadPng(stream, picture, warnings);
  std::fclose(stream);
  if (error.empty() && picture.pixels.size() != std::size_t(picture.width) * picture.height) {
    __builtin_trap();  // a picture that does not hold its own pixels
  }
  return 0;
}
