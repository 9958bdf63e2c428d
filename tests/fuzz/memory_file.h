#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace pavona::fuzz {

// The fuzzer's bytes as a file in memory, with a path that opens it, so the
// readers that take a path or a descriptor see a regular file of that size.
class MemoryFile {
 public:
  MemoryFile(const std::uint8_t* data, std::size_t size)
      : descriptor_(memfd_create("fuzz-input", MFD_CLOEXEC))
  {
    std::size_t written = 0;
    while (descriptor_ >= 0 && written < size) {
      const ssize_t count = write(descriptor_, data + written, size - written);
      if (count <= 0) {
        break;
      }
      written += std::size_t(count);
    }
  }
  ~MemoryFile()
  {
    if (descriptor_ >= 0) {
      close(descriptor_);
    }
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;

  bool Ok() const { return descriptor_ >= 0; }
  int Descriptor() const { return descriptor_; }
  std::string Path() const { return "/proc/self/fd/" + std::to_string(descriptor_); }

 private:
  int descriptor_;
};

}  // namespace pavona::fuzz
