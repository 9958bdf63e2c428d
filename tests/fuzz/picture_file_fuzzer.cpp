// Feeds arbitrary bytes to ReadPictureFile, the way both programs load
// pictures: kind detection, checks and whichever reader the bytes call for.
#include <cstdint>

#include "fuzz/memory_file.h"
#include "io/picture_file.h"
#include "io/picture_readers.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
  const pavona::fuzz::MemoryFile file(data, size);
  if (!file.Ok()) {
    return 0;
  }
  const pavona::PictureFileResult result = pavona::ReadPictureFile(file.Path());
  if (result.Ok() != result.error.empty() ||
      (result.Ok() &&
       (!pavona::CheckPictureSize(result.picture.width, result.picture.height).empty() ||
        result.picture.pixels.size() !=
            std::size_t(result.picture.width) * result.picture.height))) {
    __builtin_trap();  // an accepted picture that breaks the readers' promises
  }
  return 0;
}
