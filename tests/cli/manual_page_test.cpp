// The manual page is written by hand; these tests keep it in step with the
// options the command line really has and the defaults it really uses.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
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
      page += std::regex_replace(line, std::regex(R"(\\-)"), "-") + "\n";
    }
  }
  return page;
}

std::set<std::string> LongOptionsIn(const std::string& text)
{
  std::set<std::string> options;
  const std::regex option(R"(--[a-z][a-z0-9-]*[a-z0-9])");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
       it != std::sregex_iterator(); ++it) {
    options.insert(it->str());
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

TEST(ManualPage, GivesTheDefaultsTheCommandLineUses)
{
  const std::map<std::string, std::string> entries = EntriesByOption(ManualPage());
  // The help lists options as "--mode ARG (default: fli-interlace)".
  const std::regex withDefault(R"((--[a-z0-9-]+) +[A-Z]+ \([^)]*default: ([^)]+)\))");
  const std::string help = HelpText();
  int checked = 0;
  for (auto it = std::sregex_iterator(help.begin(), help.end(), withDefault);
       it != std::sregex_iterator(); ++it, ++checked) {
    const std::string option = (*it)[1];
    const std::string expected = "default: " + (*it)[2].str() + ")";
    const auto entry = entries.find(option);
    ASSERT_NE(entry, entries.end()) << option;
    EXPECT_NE(entry->second.find(expected), std::string::npos)
        << option << ": the manual page does not say \"" << expected << "\"";
  }
  EXPECT_GT(checked, 20);
}

}  // namespace
}  // namespace pavona::cli
