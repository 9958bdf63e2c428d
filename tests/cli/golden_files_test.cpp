#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli_batch.h"
#include "cli/cli_options.h"
#include "colour/progress.h"

// The built-in test picture converted into each golden kind must give the
// bytes in tests/data/golden: the raw and program files as the first version
// of the program wrote them, the editor files and the Refine runs as they
// were when they were first pinned (tests/data/golden/README.md).
namespace pavona::cli {
namespace {

namespace fs = std::filesystem;

const fs::path GoldenFolder = fs::path(PAVONA_TEST_DATA_DIR) / "golden";

struct GoldenKind {
  std::string name;
  std::vector<std::string> extensions;
  std::vector<std::string> settings;
};

std::vector<std::string> Words(const std::string& text)
{
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

// kinds.txt, which make_golden.sh writes the files from: "name | files | settings".
std::vector<GoldenKind> ReadGoldenKinds()
{
  std::ifstream in(GoldenFolder / "kinds.txt");
  std::vector<GoldenKind> kinds;
  for (std::string line; std::getline(in, line);) {
    const std::size_t bar1 = line.find('|');
    const std::size_t bar2 = line.find('|', bar1 + 1);
    if (line.empty() || line[0] == '#' || bar2 == std::string::npos) {
      continue;
    }
    kinds.push_back({Words(line.substr(0, bar1)).at(0),
                     Words(line.substr(bar1 + 1, bar2 - bar1 - 1)), Words(line.substr(bar2 + 1))});
  }
  return kinds;
}

std::vector<char> FileBytes(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(GoldenFiles, EveryGoldenKindGivesItsPinnedBytes)
{
  const std::vector<GoldenKind> kinds = ReadGoldenKinds();
  // Seven output kinds of the four modes, and a Refine run of each mode.
  ASSERT_GE(kinds.size(), 11u);
  const fs::path folder =
      fs::temp_directory_path() / ("pavona-golden-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  for (const GoldenKind& kind : kinds) {
    SCOPED_TRACE(kind.name);
    std::vector<std::string> words = {"pavona-cli", "--quiet", "--test-picture"};
    words.insert(words.end(), kind.settings.begin(), kind.settings.end());
    for (const std::string& extension : kind.extensions) {
      words.insert(words.end(), {"--save", (folder / (kind.name + "." + extension)).string()});
    }
    std::vector<const char*> arguments;
    for (const std::string& word : words) {
      arguments.push_back(word.c_str());
    }
    const ParseOutcome parsed = ParseCommandLine(int(arguments.size()), arguments.data());
    ASSERT_TRUE(parsed.options) << parsed.message;
    std::ostringstream out, errors;
    SilentProgress progress;
    ASSERT_EQ(RunBatch(*parsed.options, out, errors, progress), 0) << errors.str();
    for (const std::string& extension : kind.extensions) {
      const std::string file = kind.name + "." + extension;
      const std::vector<char> expected = FileBytes(GoldenFolder / file);
      ASSERT_FALSE(expected.empty()) << file << ": golden file missing";
      EXPECT_TRUE(FileBytes(folder / file) == expected) << file << " differs from the golden file";
    }
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace pavona::cli
