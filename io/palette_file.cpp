#include "io/palette_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
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
  const std::string name = std::filesystem::path(path).filename().string();
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return Failure(name, "it is a folder");
  }
  // 16 lines with comments fit easily; a larger file is something else.
  constexpr std::uintmax_t MaxPaletteFileSize = 64 * 1024;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (!error && size > MaxPaletteFileSize) {
    return Failure(name, "too large for a palette file");
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return Failure(name, std::strerror(errno));
  }
  std::ostringstream text;
  text << file.rdbuf();
  if (file.bad()) {
    return Failure(name, std::strerror(errno));
  }
  return ParsePaletteText(text.str(), name);
}

}  // namespace pavona
