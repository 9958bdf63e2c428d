#include "io/palette_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <sstream>
#include <vector>

namespace pavona {
namespace {

constexpr int ColourLines = 16;

PaletteFileResult Failure(const std::string& fileName, const std::string& reason)
{
  return {{}, "cannot read " + fileName + ": " + reason};
}

std::vector<std::string> Words(std::string_view line)
{
  const std::string withoutComment(line.substr(0, line.find('#')));
  std::istringstream stream(withoutComment);
  std::vector<std::string> words;
  for (std::string word; stream >> word;) {
    words.push_back(word);
  }
  return words;
}

// Reads one hexadecimal byte, or says what is wrong with the word.
std::string ParseByte(const std::string& word, int& value)
{
  if (word.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
    return "\"" + word + "\" is not a hexadecimal number";
  }
  const std::size_t digits = word.find_first_not_of('0');
  if (digits != std::string::npos && word.size() - digits > 2) {
    return word + " is more than FF";
  }
  value = int(std::stoul(word, nullptr, 16));
  return {};
}

// The colour of one line of three or four numbers, or what is wrong with it.
std::string ParseColourLine(const std::vector<std::string>& words, std::uint32_t& colour)
{
  if (words.size() < 3 || words.size() > 4) {
    return "a colour line holds red, green and blue (and at most one more number), not " +
           std::to_string(words.size()) + " words";
  }
  int channels[3] = {};
  for (int c = 0; c < 3; ++c) {
    if (std::string problem = ParseByte(words[std::size_t(c)], channels[c]); !problem.empty()) {
      return problem;
    }
  }
  if (words.size() == 4) {
    int unused = 0;
    if (std::string problem = ParseByte(words[3], unused); !problem.empty()) {
      return problem;
    }
  }
  colour = std::uint32_t(channels[0] << 16 | channels[1] << 8 | channels[2]);
  return {};
}

}  // namespace

PaletteFileResult ParsePaletteText(std::string_view text, const std::string& fileName)
{
  PaletteFileResult result;
  int colours = 0;
  int lineNumber = 0;
  std::istringstream lines{std::string(text)};
  for (std::string line; std::getline(lines, line);) {
    ++lineNumber;
    const std::vector<std::string> words = Words(line);
    if (words.empty()) {
      continue;
    }
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (colours == ColourLines) {
      return Failure(fileName, where + "more than 16 colours");
    }
    std::uint32_t colour = 0;
    if (std::string problem = ParseColourLine(words, colour); !problem.empty()) {
      return Failure(fileName, where + problem);
    }
    result.colours[std::size_t(colours++)] = colour;
  }
  if (colours < ColourLines) {
    return Failure(fileName, "only " + std::to_string(colours) + " colours, a C64 palette has 16");
  }
  return result;
}

PaletteFileResult ReadPaletteFile(const std::string& path)
{
  // Opened without waiting: a named pipe with no writer would block forever.
  const int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    return Failure(path, std::strerror(errno));
  }
  struct Closer {
    int descriptor;
    ~Closer() { close(descriptor); }
  } closer{descriptor};
  struct stat status;
  if (fstat(descriptor, &status) != 0) {
    return Failure(path, std::strerror(errno));
  }
  if (S_ISDIR(status.st_mode)) {
    return Failure(path, "it is a folder");
  }
  if (S_ISFIFO(status.st_mode)) {
    return Failure(path, "it is a named pipe, not a palette file");
  }
  if (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode)) {
    return Failure(path, "it is a device, not a palette file");
  }
  if (!S_ISREG(status.st_mode)) {
    return Failure(path, "it is not a regular file");
  }
  fcntl(descriptor, F_SETFL, fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  // The size is read, not trusted: a file may grow while it is read.
  std::string text;
  std::array<char, 4096> buffer;
  while (text.size() <= MaxPaletteFileBytes) {
    const ssize_t count = read(descriptor, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count < 0) {
      return Failure(path, std::strerror(errno));
    }
    if (count == 0) {
      return ParsePaletteText(text, path);
    }
    text.append(buffer.data(), std::size_t(count));
  }
  return Failure(path, "larger than " + std::to_string(MaxPaletteFileBytes / 1024) +
                           " KB, too large for a palette file");
}

}  // namespace pavona
