#include "io/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ext/stdio_filebuf.h>
#include <istream>
#include <memory>
#include <new>

#include "colour/memory_pages.h"
#include "framing/box_reduction.h"
#include "io/picture_readers.h"
#include "io/png_chunks.h"

namespace pavona {

namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string SystemReason()
{
  return std::strerror(errno);
}

// A file opened for reading, closed when it goes out of scope.
struct OpenFile {
  int descriptor = -1;
  std::uint64_t size = 0;
  ~OpenFile()
  {
    if (descriptor >= 0) {
      close(descriptor);
    }
  }
};

std::string KindOfNonRegular(mode_t mode)
{
  switch (mode & S_IFMT) {
    case S_IFDIR:
      return "it is a folder, not a file";
    case S_IFIFO:
      return "it is a named pipe, not a picture file";
    case S_IFCHR:
    case S_IFBLK:
      return "it is a device, not a picture file";
    default:
      return "it is not a regular file";
  }
}

// Opens the file without waiting (a named pipe with no writer would block
// forever) and refuses anything that is not a regular file before reading.
std::string OpenRegularFile(const std::string& path, OpenFile& file)
{
  file.descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (file.descriptor < 0) {
    return SystemReason();
  }
  struct stat status;
  if (fstat(file.descriptor, &status) != 0) {
    return SystemReason();
  }
  if (!S_ISREG(status.st_mode)) {
    return KindOfNonRegular(status.st_mode);
  }
  fcntl(file.descriptor, F_SETFL, fcntl(file.descriptor, F_GETFL) & ~O_NONBLOCK);
  file.size = std::uint64_t(status.st_size);
  return {};
}

// Each reader gets a descriptor of its own, positioned at the start.
int DuplicateAtStart(int descriptor)
{
  const int duplicate = fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
  if (duplicate >= 0) {
    lseek(duplicate, 0, SEEK_SET);
  }
  return duplicate;
}

std::string ReadKnownKind(const OpenFile& opened, PictureFileKind kind,
                          const DecodeSizeNeeded& needed, PictureFileResult& result)
{
  switch (kind) {
    case PictureFileKind::Jpeg: {
      const int duplicate = DuplicateAtStart(opened.descriptor);
      const std::unique_ptr<std::FILE, FileCloser> file(duplicate < 0 ? nullptr
                                                                      : fdopen(duplicate, "rb"));
      if (!file) {
        return SystemReason();
      }
      return ReadJpeg(file.get(), opened.size, needed, result);
    }
    case PictureFileKind::Bitmap: {
      __gnu_cxx::stdio_filebuf<char> buffer(DuplicateAtStart(opened.descriptor),
                                            std::ios::in | std::ios::binary);
      if (!buffer.is_open()) {
        return SystemReason();
      }
      std::istream in(&buffer);
      return ReadBitmap(in, opened.size, result.picture, result.warnings);
    }
    case PictureFileKind::Png: {
      PngHeader header;
      if (std::string reason = CheckPngChunks(opened.descriptor, opened.size, header);
          !reason.empty()) {
        return reason;
      }
      if (std::string reason =
              CheckPictureMemory(header.width, header.height, PngDecoderBytes(header), opened.size);
          !reason.empty()) {
        return reason;
      }
      const int duplicate = DuplicateAtStart(opened.descriptor);
      const std::unique_ptr<std::FILE, FileCloser> file(duplicate < 0 ? nullptr
                                                                      : fdopen(duplicate, "rb"));
      if (!file) {
        return SystemReason();
      }
      return ReadPng(file.get(), needed, result);
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

std::string CheckPictureMemory(long long width, long long height, long long decoderBytes,
                               std::uint64_t fileSize, long long anyFileMayUse)
{
  const long long needed = width * height * 4 + decoderBytes;
  const long long allowed = std::max<long long>(
      anyFileMayUse,
      static_cast<long long>(std::min<std::uint64_t>(fileSize, 1ULL << 40)) * MemoryPerFileByte);
  if (needed <= allowed) {
    return {};
  }
  return "the file declares a picture of " + std::to_string(width) + " x " +
         std::to_string(height) + " pixels, which would take " + std::to_string(needed >> 20) +
         " MB to load, far more than a file of " + std::to_string(fileSize) +
         " bytes can hold (damaged, or made to exhaust memory)";
}

void AllocatePicture(LoadedPicture& picture, int width, int height)
{
  const std::size_t count = std::size_t(width) * std::size_t(height);
  picture.pixels.clear();
  picture.pixels.reserve(count);
  // A large picture is filled in a few large pages rather than thousands of
  // small ones, each of which costs the system a fault on first touch (on a
  // 24-megapixel picture that was about a third of the time it took to load).
  AdviseHugePages(picture.pixels.data(), count * sizeof(std::uint32_t));
  picture.pixels.assign(count, 0);
  picture.width = width;
  picture.height = height;
}

PictureFileResult ReadPictureFile(const std::string& path)
{
  return ReadPictureFile(path, DecodeSizeNeeded());
}

PictureFileResult ReadPictureFile(const std::string& path, const DecodeSizeNeeded& needed)
{
  PictureFileResult result;
  const auto fail = [&](const std::string& reason) {
    result.picture = LoadedPicture{};
    result.warnings.clear();
    result.error = "cannot read " + path + ": " + reason;
    return result;
  };

  if (path.empty()) {
    return fail("no file name given");
  }
  OpenFile opened;
  if (std::string reason = OpenRegularFile(path, opened); !reason.empty()) {
    return fail(reason);
  }
  std::uint8_t firstBytes[8] = {};
  const ssize_t count = pread(opened.descriptor, firstBytes, sizeof firstBytes, 0);
  if (count < 0) {
    return fail(SystemReason());
  }
  const PictureFileKind kind = PictureFileKindOf(std::span(firstBytes, std::size_t(count)));
  if (kind == PictureFileKind::Unknown) {
    return fail("not a JPEG, bitmap or PNG file");
  }
  try {
    const std::string reason = ReadKnownKind(opened, kind, needed, result);
    if (!reason.empty()) {
      return fail(reason);
    }
  } catch (const std::bad_alloc&) {
    return fail("not enough memory to hold the picture");
  }
  return result;
}

DecodeReduction ReductionFor(DecodeReduction::Kind kind, int fileWidth, int fileHeight,
                             const DecodeSizeNeeded& needed)
{
  if (!needed) {
    return {kind, kind == DecodeReduction::Kind::JpegEighths ? 8 : 1};
  }
  const PictureSize size = needed(fileWidth, fileHeight);
  switch (kind) {
    case DecodeReduction::Kind::JpegEighths:
      return {kind, JpegEighthsFor(fileWidth, fileHeight, size)};
    case DecodeReduction::Kind::PngBoxes:
      return {kind, WholeReductionFactor(fileWidth, fileHeight, size)};
    case DecodeReduction::Kind::Never:
      break;
  }
  return {kind, 1};
}

}  // namespace pavona
