// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "cli/command_line.h"
#include "cli/options.h"
#include "cli/usage.h"

namespace lumvane {
namespace {

using Command = CliOptions::Command;

std::string Refusal(const std::vector<std::string>& args) {
  const StatusOr<CliOptions> parsed = ParseOptions(args);
  return parsed.ok() ? "accepted" : parsed.status().message();
}

std::string Read(const std::string& name) {
  std::ifstream file(std::string(LUMVANE_SOURCE_DIR) + "/" + name);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(CommandLine, EachCommandTakesItsArgumentsAndOptionsInAnyOrder) {
  const StatusOr<CliOptions> scan =
      ParseOptions({"scan", "-v", "src", "--copy=keep", "dest", "-j", "3", "--no-embedded"});
  ASSERT_TRUE(scan.ok()) << scan.status().message();
  EXPECT_EQ(scan->command, Command::kScan);
  EXPECT_EQ(scan->source_dir + " " + scan->dest_dir, "src dest");
  EXPECT_EQ(scan->copy_mode, CopyMode::kKeepNames);
  EXPECT_EQ(scan->jobs, 3);
  EXPECT_TRUE(scan->verbose && !scan->read_embedded && !scan->quiet);
  const StatusOr<CliOptions> catalog = ParseOptions(
      {"catalog", "c.tDB", "d", "--drive", "e=/e", "--volume=OLD CD=/cd", "--source", "s"});
  ASSERT_TRUE(catalog.ok()) << catalog.status().message();
  EXPECT_EQ(catalog->catalog_path + " " + catalog->dest_dir + " " + catalog->source_dir,
            "c.tDB d s");
  EXPECT_EQ(catalog->drives.at('E'), "/e");
  EXPECT_EQ(catalog->volumes.at("OLD CD"), "/cd");
  const StatusOr<CliOptions> set = ParseOptions({"edit", "a", "--set", "3", "title=Harbour"});
  ASSERT_TRUE(set.ok()) << set.status().message();
  EXPECT_EQ(set->edit_action, CliOptions::EditAction::kSet);
  EXPECT_EQ(set->edit_record, "3");
  EXPECT_EQ(set->edit_values,
            (std::vector<std::pair<std::string, std::string>>{{"title", "Harbour"}}));
  const StatusOr<CliOptions> help = ParseOptions({"locations", "-h"});
  ASSERT_TRUE(help.ok());
  EXPECT_EQ(help->command, Command::kHelp);
  EXPECT_EQ(help->help_topic, "locations");
  const StatusOr<CliOptions> dashed = ParseOptions({"scan", "--", "-odd", "d"});
  ASSERT_TRUE(dashed.ok());
  EXPECT_EQ(dashed->source_dir, "-odd");
}

TEST(CommandLine, UsageErrorsSayInOneLineWhatIsWrong) {
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--version", "extra"}, "--version takes no arguments, not 'extra'"},
      {{"--verbose", "scan", "a", "b"}, "a command comes before --verbose"},
      {{"frobnicate"}, "unknown command frobnicate"},
      {{"scan", "a"}, "scan takes SOURCE_DIR and DEST_DIR"},
      {{"scan", "a", "b", "--replace"}, "--replace is not an option of scan"},
      {{"scan", "a", "b", "--frob"}, "unknown option --frob"},
      {{"scan", "a", "b", "--copy", "maybe"}, "--copy takes no, keep or rename, not 'maybe'"},
      {{"scan", "a", "b", "--jobs=0"}, "--jobs takes a number of threads from 1 to 256, not '0'"},
      {{"scan", "a", "b", "-v", "-q"}, "--verbose and --quiet exclude each other"},
      {{"catalog", "x", "d", "--volume", "LOST"}, "--volume takes LABEL=DIR, not 'LOST'"},
      {{"catalog", "x", "d", "--drive", "D:/x"}, "--drive takes X=DIR, not 'D:/x'"},
      {{"restore", "d", "x"}, "restore takes a version number, not 'x'"},
      {{"edit", "d", "--list", "--show", "2"},
       "--list, --show, --set and --delete exclude each other"},
      {{"edit", "d", "--show", "x"}, "--show takes a record number, not 'x'"},
      {{"edit", "d", "--set", "1", "colour=red"},
       "--set takes FIELD=VALUE with FIELD one of title, keywords, category, comment, author, "
       "date; not 'colour=red'"},
      {{"locations", "x"}, "locations takes no folder; --drive X=DIR saves one"},
  };
  for (const auto& [args, message] : refused) EXPECT_EQ(Refusal(args), message);
}

TEST(CommandLine, HelpFitsEightyColumnsAndTheCompletionAndManualNameWhatItDoes) {
  std::string every = UsageText();
  for (const CommandSpec& command : Commands()) every += CommandUsage(command.name);
  std::istringstream lines(every);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;

  // The completion offers each command exactly its options.
  const std::string completion = Read("desktop/lumvane.bash-completion");
  const std::regex offered(R"re(\n +([a-z|]+)\) options="([^"]*)")re");
  std::map<std::string, std::set<std::string>> completed;
  for (std::sregex_iterator it(completion.begin(), completion.end(), offered), end; it != end;
       ++it) {
    std::istringstream names((*it)[1].str()), options((*it)[2].str());
    std::set<std::string> words{std::istream_iterator<std::string>(options), {}};
    for (std::string name; std::getline(names, name, '|');) completed[name] = words;
  }
  const std::string manual = Read("desktop/lumvane.1");
  const auto in_manual = [&](std::string word) {
    for (size_t at = 0; (at = word.find('-', at)) != std::string::npos; at += 2)
      word.insert(at, "\\");
    return manual.find(word) != std::string::npos;
  };
  for (const CommandSpec& command : Commands()) {
    std::set<std::string> takes{"--help"};
    for (const CommandOption& option : command.options) takes.insert(std::string(option.name));
    EXPECT_EQ(completed[std::string(command.name)], takes) << command.name;
    EXPECT_TRUE(in_manual(".B " + std::string(command.name))) << command.name;
  }
  for (const OptionSpec& option : Options()) {
    EXPECT_TRUE(in_manual(std::string(option.name))) << option.name;
    if (option.short_name) {
      EXPECT_TRUE(
          in_manual(std::string("-") + option.short_name + " \", \" " + std::string(option.name)))
          << option.name;
    }
  }
}

}  // namespace
}  // namespace lumvane
