#include "c64/raw_data_file.h"

#include "c64/scene_formats.h"

namespace pavona {

std::vector<std::uint8_t> RawDataBytes(const C64Data& data, OutputKind kind)
{
  if (IsMulticolour(kind.mode)) {
    std::vector<std::uint8_t> file = SceneFileBytes(data, kind);
    file.erase(file.begin(), file.begin() + 2);
    return file;
  }
  std::vector<std::uint8_t> bytes;
  for (const C64Region slice : PictureSlices(kind)) {
    const auto region = Region(data, slice);
    bytes.insert(bytes.end(), region.begin(), region.end());
  }
  return bytes;
}

}  // namespace pavona
