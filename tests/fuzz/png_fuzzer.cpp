// Feeds arbitrary bytes to the PNG structure check and, when it passes, to
// the PNG reader, as ReadPictureFile does: inputs of odd length ask for a
// small picture, so that the reader reduces rows as it reads them.
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
  pavona::PictureFileResult read;
  std::FILE* stream = std::fopen(file.Path().c_str(), "rb");
  if (stream == nullptr) {
    return 0;
  }
  const pavona::DecodeSizeNeeded small = [](int width, int height) {
    return pavona::PictureSize{width / 8, height / 8};
  };
  const std::string error =
      pavona::ReadPng(stream, size % 2 ? small : pavona::DecodeSizeNeeded(), read);
  const pavona::LoadedPicture& picture = read.picture;
  std::fclose(stream);
  if (error.empty() && picture.pixels.size() != std::size_t(picture.width) * picture.height) {
    __builtin_trap();  // a picture that does not hold its own pixels
  }
  return 0;
}
