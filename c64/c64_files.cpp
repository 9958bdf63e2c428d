#include "c64/c64_files.h"

#include <algorithm>
#include <cctype>

#include "c64/program_file.h"
#include "c64/raw_data_file.h"
#include "c64/scene_formats.h"

namespace pavona {
namespace {

constexpr std::string_view RawExtension = ".raw";
constexpr std::string_view ProgramExtension = ".prg";

std::string LowerCase(std::string_view text)
{
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return lower;
}

}  // namespace

std::optional<C64File> C64FileFor(std::string_view extension, GraphicMode mode)
{
  const std::string lower = LowerCase(extension);
  if (lower == RawExtension) {
    return C64File::Raw;
  }
  if (lower == ProgramExtension) {
    return C64File::Program;
  }
  if (lower == SceneFormatInfoOf(SceneFormatOf(mode)).extension) {
    return C64File::Scene;
  }
  return std::nullopt;
}

std::string C64FileExtensions(GraphicMode mode)
{
  return std::string(SceneFormatInfoOf(SceneFormatOf(mode)).extension) + ", " +
         std::string(ProgramExtension) + ", " + std::string(RawExtension);
}

std::vector<std::uint8_t> C64FileBytes(C64File file, const C64Data& data, OutputKind kind)
{
  switch (file) {
    case C64File::Raw:
      return RawDataBytes(data, kind);
    case C64File::Program:
      return C64ProgramBytes(data, kind);
    case C64File::Scene:
      break;
  }
  return SceneFileBytes(data, kind);
}

}  // namespace pavona
