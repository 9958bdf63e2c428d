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

// The built-in test picture converted into each kind of output file must give
// the bytes the first version of the program gave (tests/data/golden, made by
// make_golden.sh there with the same settings as below).
namespace pavona::cli {
namespace {

namespace fs = std::filesystem;

struct GoldenKind {
  const char* name;
  std::vector<const char*> settings;
};

// clang-format off
const GoldenKind GoldenKinds[] = {
    {"hires",                       {"--mode", "hires"}},
    {"hires-interlaced",            {"--mode", "hires-interlaced", "--same-banks", "off"}},
    {"hires-interlaced-same-banks", {"--mode", "hires-interlaced", "--same-banks", "on"}},
    {"fli",                         {"--mode", "fli"}},
    {"fli-interlace",               {"--mode", "fli-interlace", "--four-colours", "on", "--same-banks", "off"}},
    {"fli-interlace-shared-bitmap", {"--mode", "fli-interlace", "--four-colours", "off", "--same-banks", "off"}},
    {"fli-interlace-same-banks",    {"--mode", "fli-interlace", "--four-colours", "on", "--same-banks", "on"}},
};
// clang-format on

std::vector<char> FileBytes(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(GoldenFiles, EveryOutputKindGivesTheFirstVersionsBytes)
{
  const fs::path folder =
      fs::temp_directory_path() / ("pavona-golden-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const fs::path golden = fs::path(PAVONA_TEST_DATA_DIR) / "golden";
  for (const GoldenKind& kind : GoldenKinds) {
    SCOPED_TRACE(kind.name);
    const std::string raw = (folder / (std::string(kind.name) + ".raw")).string();
    const std::string prg = (folder / (std::string(kind.name) + ".prg")).string();
    std::vector<const char*> arguments = {"pavona-cli", "--quiet", "--test-picture"};
    arguments.insert(arguments.end(), kind.settings.begin(), kind.settings.end());
    arguments.insert(arguments.end(), {"--raw", raw.c_str(), "--prg", prg.c_str()});
    const ParseOutcome parsed = ParseCommandLine(int(arguments.size()), arguments.data());
    ASSERT_TRUE(parsed.options) << parsed.message;
    std::ostringstream out, errors;
    SilentProgress progress;
    ASSERT_EQ(RunBatch(*parsed.options, out, errors, progress), 0) << errors.str();
    for (const char* extension : {".raw", ".prg"}) {
      const std::vector<char> expected = FileBytes(golden / (std::string(kind.name) + extension));
      ASSERT_FALSE(expected.empty()) << "golden file missing";
      EXPECT_TRUE(FileBytes(folder / (std::string(kind.name) + extension)) == expected)
          << kind.name << extension << " differs from the golden file";
    }
  }
  fs::remove_all(folder);
}

}  // namespace
}  // namespace pavona::cli
