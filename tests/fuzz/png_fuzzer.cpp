// Feeds arbitrary bytes to the PNG structure check and, when it passes, to
// the PNG reader, as ReadPictureFile does.
#include <cstdint>
#include <string>

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
  const std::string error = pavona::ReadPng(file.Path(), picture);
  if (error.empty() && picture.pixels.size() != std::size_t(picture.width) * picture.height) {
    __builtin_trap();  // a picture that does not hold its own pixels
  }
  return 0;
}
