// The manual page is written by hand; these tests keep it in step with the
// options the command line really has and the defaults it really uses.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "cli/cli_options.h"

namespace pavona::cli {
namespace {

std::string HelpText()
{
  const char* arguments[] = {"pavona-cli", "--help"};
  return ParseCommandLine(2, arguments).message;
}

std::string WithPlainHyphens(const std::string& troff)
{
  std::string plain;
  for (std::size_t i = 0; i < troff.size(); ++i) {
    if (troff.compare(i, 2, "\\-") == 0) {
      ++i;
    }
    plain += troff[i];
  }
  return plain;
}

// The page with troff's escaped hyphens made plain, and the tags of options
// that share one description joined into one entry: between ".PD 0" and ".PD"
// a ".TP" adds a tag to the entry rather than starting another.
std::string ManualPage()
{
  std::ifstream file(PAVONA_MANUAL_PAGE);
  std::string page;
  bool joiningTags = false;
  for (std::string line; std::getline(file, line);) {
    if (line == ".PD 0" || line == ".PD") {
      joiningTags = line == ".PD 0";
    } else if (!(joiningTags && line == ".TP")) {
      page += WithPlainHyphens(line) + "\n";
    }
  }
  return page;
}

bool IsOptionCharacter(char c)
{
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

// Every "--name" in the text.
std::set<std::string> LongOptionsIn(const std::string& text)
{
  std::set<std::string> options;
  for (std::size_t at = text.find("--"); at != std::string::npos; at = text.find("--", at + 2)) {
    std::size_t end = at + 2;
    while (end < text.size() && IsOptionCharacter(text[end])) {
      ++end;
    }
    while (end > at + 2 && text[end - 1] == '-') {
      --end;
    }
    if (end > at + 2 && text[at + 2] >= 'a' && text[at + 2] <= 'z') {
      options.insert(text.substr(at, end - at));
    }
  }
  return options;
}

// Each ".TP" entry of the page, by the options its tags name: the lines at
// its start that set options in bold ("-q, --quiet" names two).
std::map<std::string, std::string> EntriesByOption(const std::string& page)
{
  std::map<std::string, std::string> entries;
  std::size_t start = 0;
  while ((start = page.find("\n.TP\n", start)) != std::string::npos) {
    start += 5;
    const std::size_t end = std::min(page.find("\n.TP\n", start), page.find("\n.SH ", start));
    const std::string entry = page.substr(start, end - start);
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line) && line.starts_with(".B");) {
      for (const std::string& option : LongOptionsIn(line)) {
        entries[option] = entry;
      }
    }
  }
  return entries;
}

TEST(ManualPage, NamesExactlyTheOptionsOfTheCommandLine)
{
  const std::string page = ManualPage();
  ASSERT_FALSE(page.empty()) << "cannot read " << PAVONA_MANUAL_PAGE;
  const std::set<std::string> inHelp = LongOptionsIn(HelpText());
  ASSERT_GT(inHelp.size(), 30u);  // the help was read at all
  const std::map<std::string, std::string> entries = EntriesByOption(page);
  for (const std::string& option : inHelp) {
    EXPECT_TRUE(entries.contains(option)) << option << " has no entry in the manual page";
  }
  for (const std::string& option : LongOptionsIn(page)) {
    EXPECT_TRUE(inHelp.contains(option))
        << "the manual page names " << option << ", which the command line does not have";
  }
}

// The defaults in the help: lines like "--mode WORD (default: fli-interlace)"
// or "--red INT (-255..255, default: 0)", by option.
std::map<std::string, std::string> DefaultsInHelp(const std::string& help)
{
  std::map<std::string, std::string> defaults;
  std::istringstream lines(help);
  for (std::string line; std::getline(lines, line);) {
    const std::size_t at = line.find_first_not_of(' ');
    if (at == std::string::npos || line.compare(at, 2, "--") != 0) {
      continue;
    }
    std::size_t end = at + 2;
    while (end < line.size() && IsOptionCharacter(line[end])) {
      ++end;
    }
    std::size_t open = end + 1;
    while (open < line.size() && line[open] >= 'A' && line[open] <= 'Z') {
      ++open;
    }
    const std::size_t close = line.find(')', open);
    const std::size_t value = line.find("default: ", open);
    if (line.compare(open, 2, " (") == 0 && value < close) {
      defaults[line.substr(at, end - at)] = line.substr(value + 9, close - value - 9);
    }
  }
  return defaults;
}

TEST(ManualPage, GivesTheDefaultsTheCommandLineUses)
{
  const std::map<std::string, std::string> entries = EntriesByOption(ManualPage());
  const std::map<std::string, std::string> defaults = DefaultsInHelp(HelpText());
  EXPECT_GT(defaults.size(), 20u);
  for (const auto& [option, value] : defaults) {
    const std::string expected = "default: " + value + ")";
    const auto entry = entries.find(option);
    ASSERT_NE(entry, entries.end()) << option;
    EXPECT_NE(entry->second.find(expected), std::string::npos)
        << option << ": the manual page does not say \"" << expected << "\"";
  }
}

}  // namespace
}  // namespace pavona::cli
