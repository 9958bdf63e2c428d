#include "c64/file_writer.h"

#include <fcntl.h>
#include <signal.h>
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

std::filesystem::path DirectoryOf(const std::filesystem::path& path)
{
  return path.has_parent_path() ? path.parent_path() : ".";
}

// The prefix of the temporary names of `path`; the process id follows it.
std::string TemporaryPrefix(const std::filesystem::path& path)
{
  return "." + path.filename().string() + ".saving-";
}

// A new name in the target's folder for the fallback temporary file: a rename
// within one file system is atomic, across file systems it is not possible.
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& path)
{
  static std::atomic<unsigned> counter{0};
  return DirectoryOf(path) /
         (TemporaryPrefix(path) + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

// A save killed between naming its temporary file and renaming it leaves a
// full copy under the temporary name. Those of processes that no longer run
// are removed; a save under way in another process keeps its own.
void RemoveLeftovers(const std::filesystem::path& path)
{
  const std::string prefix = TemporaryPrefix(path);
  std::error_code error;
  for (std::filesystem::directory_iterator entry(DirectoryOf(path), error), end;
       !error && entry != end; entry.increment(error)) {
    const std::string name = entry->path().filename().string();
    if (name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    const std::string rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash > 9 || rest.find_first_not_of("0123456789") != dash) {
      continue;
    }
    const auto process = pid_t(std::stol(rest.substr(0, dash)));
    if (process > 0 && process != getpid() && kill(process, 0) != 0 && errno == ESRCH) {
      unlink(entry->path().c_str());
    }
  }
}

// Makes a new name in the folder survive a power cut. File systems that
// cannot flush a folder say EINVAL; they need no such flush.
int SyncDirectoryOf(const std::filesystem::path& path)
{
  const int directory = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (directory < 0) {
    return errno;
  }
  const int error = fsync(directory) == 0 || errno == EINVAL ? 0 : errno;
  close(directory);
  return error;
}

int CreateNamedTemporary(const std::filesystem::path& path, std::filesystem::path& temporary)
{
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = TemporaryNameBeside(path);
    const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) {
      return descriptor;
    }
  }
  errno = EEXIST;
  return -1;
}

// An unnamed file in the target's folder, or -1 where the kernel or the file
// system does not offer them (errno then tells whether a named temporary file
// is worth trying).
int CreateUnnamedTemporary(const std::filesystem::path& path)
{
#ifdef O_TMPFILE
  return open(DirectoryOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
  (void)path;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

bool UnnamedFilesUnsupported(int error)
{
  return error == EOPNOTSUPP || error == EISDIR || error == EINVAL || error == ENOENT;
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
  return fsync(descriptor) == 0 ? 0 : errno;
}

// Gives the complete unnamed file its name. linkat cannot replace a file, so
// an existing target is replaced by linking to a temporary name and renaming
// that over it. Returns 0 or the error.
int NameUnnamedFile(int descriptor, const std::filesystem::path& path)
{
  const std::string self = "/proc/self/fd/" + std::to_string(descriptor);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) {
    return 0;
  }
  if (errno != EEXIST) {
    return errno;
  }
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path temporary = TemporaryNameBeside(path);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) {
        continue;
      }
      return errno;
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
      const int error = errno;
      unlink(temporary.c_str());
      return error;
    }
    return 0;
  }
  return EEXIST;
}

void KeepPermissions(int descriptor, const std::filesystem::path& path)
{
  struct stat existing;
  if (stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
    fchmod(descriptor, existing.st_mode & 07777);
  }
}

// Closes the descriptor and returns the first error of `error` and close.
int CloseKeepingError(int descriptor, int error)
{
  return close(descriptor) != 0 && error == 0 ? errno : error;
}

std::string WriteThroughUnnamedFile(int descriptor, const std::filesystem::path& path,
                                    std::span<const std::uint8_t> bytes)
{
  KeepPermissions(descriptor, path);
  int error = WriteAll(descriptor, bytes);
  if (error == 0) {
    error = NameUnnamedFile(descriptor, path);
  }
  if (error == 0) {
    error = SyncDirectoryOf(path);
  }
  error = CloseKeepingError(descriptor, error);
  return error == 0 ? std::string() : Failure(path, error);
}

std::string WriteThroughNamedFile(const std::filesystem::path& path,
                                  std::span<const std::uint8_t> bytes)
{
  std::filesystem::path temporary;
  const int descriptor = CreateNamedTemporary(path, temporary);
  if (descriptor < 0) {
    return Failure(path, errno);
  }
  KeepPermissions(descriptor, path);
  int error = CloseKeepingError(descriptor, WriteAll(descriptor, bytes));
  if (error == 0 && rename(temporary.c_str(), path.c_str()) != 0) {
    error = errno;
  }
  if (error != 0) {
    unlink(temporary.c_str());
    return Failure(path, error);
  }
  error = SyncDirectoryOf(path);
  return error == 0 ? std::string() : Failure(path, error);
}

}  // namespace

std::string NonRegularFileKind(const std::filesystem::path& path)
{
  struct stat status;
  if (lstat(path.c_str(), &status) != 0 || S_ISREG(status.st_mode)) {
    return {};
  }
  switch (status.st_mode & S_IFMT) {
    case S_IFDIR:
      return "a folder";
    case S_IFLNK:
      return "a symbolic link";
    case S_IFIFO:
      return "a named pipe";
    case S_IFCHR:
    case S_IFBLK:
      return "a device";
    case S_IFSOCK:
      return "a socket";
    default:
      return "not a regular file";
  }
}

std::string WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes)
{
  if (!path.has_filename()) {
    return Failure(path, EISDIR);
  }
  if (const std::string kind = NonRegularFileKind(path); !kind.empty()) {
    return "cannot save " + path.string() + ": it is " + kind + ", not a regular file";
  }
  // Only a replacement leaves a hidden copy when killed, so only a
  // replacement looks for them (a batch into a large folder reads it once per
  // file replaced, not per file written).
  struct stat existing;
  const bool replacing = lstat(path.c_str(), &existing) == 0;
  const int descriptor = CreateUnnamedTemporary(path);
  std::string error;
  if (descriptor >= 0) {
    error = WriteThroughUnnamedFile(descriptor, path, bytes);
  } else if (!UnnamedFilesUnsupported(errno)) {
    return Failure(path, errno);
  } else {
    error = WriteThroughNamedFile(path, bytes);
  }
  if (error.empty() && replacing) {
    RemoveLeftovers(path);
  }
  return error;
}

}  // namespace pavona
