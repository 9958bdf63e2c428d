#include "c64/raw_data_file.h"

namespace pavona {

std::vector<std::uint8_t> RawDataBytes(const C64Data& data, OutputKind kind)
{
  std::vector<std::uint8_t> bytes;
  for (const C64Region slice : PictureSlices(kind)) {
    const auto region = Region(data, slice);
    bytes.insert(bytes.end(), region.begin(), region.end());
  }
  return bytes;
}

}  // namespace pavona
