#include "c64/file_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <system_error>

namespace pavona {

namespace {

std::string Failure(const std::filesystem::path& path, int error)
{
  return "cannot save " + path.string() + ": " + std::generic_category().message(error);
}

// Creates a new, unique temporary file in the target's directory: a rename
// within one file system is atomic, across file systems it is not possible.
int CreateTemporaryBeside(const std::filesystem::path& path, std::filesystem::path& temporary)
{
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path directory = path.has_parent_path() ? path.parent_path() : ".";
  const std::string stem = "." + path.filename().string() + ".saving-" + std::to_string(getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = directory / (stem + "-" + std::to_string(counter++));
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) {
      return descriptor;
    }
  }
  errno = EEXIST;
  return -1;
}

int WriteAll(int descriptor, std::span<const std::uint8_t> bytes)
{
  while (!bytes.empty()) {
    const ssize_t written = write(descriptor, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      return errno;
    }
    bytes = bytes.subspan(std::size_t(written));
  }
  return 0;
}

}  // namespace

std::string WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes)
{
  if (!path.has_filename()) {
    return Failure(path, EISDIR);
  }
  std::filesystem::path temporary;
  const int descriptor = CreateTemporaryBeside(path, temporary);
  if (descriptor < 0) {
    return Failure(path, errno);
  }

  struct stat existing;
  if (stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    fchmod(descriptor, existing.st_mode & 07777);
  }

  int error = WriteAll(descriptor, bytes);
  if (error == 0 && fsync(descriptor) != 0) {
    error = errno;
  }
  if (close(descriptor) != 0 && error == 0) {
    error = errno;
  }
  if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    unlink(temporary.c_str());
    return Failure(path, error);
  }
  return {};
}

}  // namespace pavona
