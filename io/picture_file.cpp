#include "io/picture_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <new>

#include "io/picture_readers.h"

namespace pavona {

namespace {

constexpr std::uint8_t PngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string SystemReason()
{
  return std::strerror(errno);
}

std::string ReadKnownKind(const std::string& path, PictureFileKind kind, LoadedPicture& picture,
                          const PictureWarnings& warnings)
{
  switch (kind) {
    case PictureFileKind::Jpeg:
    case PictureFileKind::Png: {
      // fopen takes the name's bytes as they are, whatever their encoding.
      const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
      if (!file) {
        return SystemReason();
      }
      return kind == PictureFileKind::Jpeg ? ReadJpeg(file.get(), picture)
                                           : ReadPng(file.get(), picture, warnings);
    }
    case PictureFileKind::Bitmap: {
      std::ifstream in(path, std::ios::binary);
      std::error_code error;
      const std::uintmax_t size = std::filesystem::file_size(path, error);
      if (!in) {
        return SystemReason();
      }
      if (error) {
        return error.message();
      }
      return ReadBitmap(in, size, picture);
    }
    case PictureFileKind::Unknown:
      break;
  }
  return "not a JPEG, bitmap or PNG file";
}

}  // namespace

PictureFileKind PictureFileKindOf(std::span<const std::uint8_t> firstBytes)
{
  if (firstBytes.size() >= 3 && firstBytes[0] == 0xFF && firstBytes[1] == 0xD8 &&
      firstBytes[2] == 0xFF) {
    return PictureFileKind::Jpeg;
  }
  if (firstBytes.size() >= 2 && firstBytes[0] == 'B' && firstBytes[1] == 'M') {
    return PictureFileKind::Bitmap;
  }
  if (firstBytes.size() >= sizeof PngSignature &&
      std::equal(std::begin(PngSignature), std::end(PngSignature), firstBytes.begin())) {
    return PictureFileKind::Png;
  }
  return PictureFileKind::Unknown;
}

std::string CheckPictureSize(long long width, long long height)
{
  if (width <= 0 || height <= 0) {
    return "the picture has no pixels (" + std::to_string(width) + " x " + std::to_string(height) +
           ")";
  }
  if (width > MaxPictureSide || height > MaxPictureSide || width * height > MaxPicturePixels) {
    return "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, larger than can be loaded (at most " + std::to_string(MaxPictureSide) +
           " pixels on a side and 100 million pixels in all)";
  }
  return {};
}

void AllocatePicture(LoadedPicture& picture, int width, int height)
{
  picture.pixels.assign(std::size_t(width) * std::size_t(height), 0);
  picture.width = width;
  picture.height = height;
}

PictureFileResult ReadPictureFile(const std::string& path, const PictureWarnings& warnings)
{
  PictureFileResult result;
  const std::string name = std::filesystem::path(path).filename().string();
  const auto fail = [&](const std::string& reason) {
    result.picture = LoadedPicture{};
    result.error = "cannot read " + (name.empty() ? path : name) + ": " + reason;
    return result;
  };

  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return fail("it is a folder, not a file");
  }
  std::uint8_t firstBytes[8] = {};
  std::size_t count = 0;
  {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      return fail(SystemReason());
    }
    in.read(reinterpret_cast<char*>(firstBytes), sizeof firstBytes);
    count = std::size_t(in.gcount());
  }
  const PictureFileKind kind = PictureFileKindOf(std::span(firstBytes, count));
  if (kind == PictureFileKind::Unknown) {
    return fail("not a JPEG, bitmap or PNG file");
  }
  try {
    const auto warnAboutFile = [&](const std::string& warning) {
      if (warnings) {
        warnings((name.empty() ? path : name) + ": " + warning);
      }
    };
    const std::string reason = ReadKnownKind(path, kind, result.picture, warnAboutFile);
    if (!reason.empty()) {
      return fail(reason);
    }
  } catch (const std::bad_alloc&) {
    return fail("not enough memory to hold the picture");
  }
  return result;
}

}  // namespace pavona
