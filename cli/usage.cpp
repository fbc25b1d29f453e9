// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/usage.h"

#include "cli/command_line.h"

namespace lumvane {
namespace {

constexpr size_t kWidth = 80;
constexpr size_t kTextColumn = 24;  // where an option's text starts

// `text` in lines of at most kWidth columns, each begun by `indent` spaces; the first line
// continues `first` when given, which must be shorter than `indent`.
std::string Wrapped(std::string_view text, size_t indent, std::string first = "") {
  std::string out =
      first.empty() ? std::string(indent, ' ') : first + std::string(indent - first.size(), ' ');
  size_t column = indent;
  while (!text.empty()) {
    const size_t space = text.find(' ');
    const std::string_view word = text.substr(0, space);
    if (column > indent && column + 1 + word.size() > kWidth) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
    } else if (column > indent) {
      out += ' ';
      ++column;
    }
    out += word;
    column += word.size();
    text = space == std::string_view::npos ? "" : text.substr(space + 1);
  }
  return out + "\n";
}

std::string OptionLine(const OptionSpec& option, std::string_view text) {
  std::string names = option.short_name ? std::string("  -") + option.short_name + ", " : "      ";
  names += std::string(option.name);
  if (!option.value_name.empty()) names += " " + std::string(option.value_name);
  if (names.size() + 2 > kTextColumn) return names + "\n" + Wrapped(text, kTextColumn);
  return Wrapped(text, kTextColumn, names);
}

std::string Synopsis(const CommandSpec& command) {
  std::string line = "lumvane " + std::string(command.name);
  if (!command.arguments.empty()) line += " " + std::string(command.arguments);
  return command.options.empty() ? line : line + " [OPTION]...";
}

}  // namespace

std::string CommandUsage(std::string_view name) {
  const CommandSpec* command = FindCommand(name);
  if (command == nullptr) return "";
  std::string text =
      "Usage: " + Synopsis(*command) + "\n" + Wrapped(command->purpose, 0) + "\nOptions:\n";
  for (const CommandOption& option : command->options) {
    const OptionSpec* spec = FindOption(option.name);
    text += OptionLine(*spec, option.text.empty() ? spec->text : option.text);
  }
  const OptionSpec* help = FindOption("--help");
  return text + OptionLine(*help, help->text);
}

std::string UsageText() {
  std::string text =
      "Usage: lumvane COMMAND ARGUMENTS [OPTION]...\n"
      "       lumvane                open the window\n"
      "       lumvane --help | --version\n"
      "       lumvane COMMAND --help the help of one command, with its options\n"
      "\nCommands:\n";
  for (const CommandSpec& command : Commands()) {
    text += "  " + Synopsis(command) + "\n" + Wrapped(command.purpose, 6);
  }
  text += "\nOptions (each command's help names those it takes):\n";
  for (const OptionSpec& option : Options()) text += OptionLine(option, option.text);
  return text +
         "      --version         print the version\n"
         "  --                    ends the options, for folder names that begin with '-'\n\n" +
         Wrapped(
             "Ctrl-C (or SIGTERM, SIGHUP) stops a run after the picture in hand; the "
             "archive is still complete. A run that fails leaves the archive folder as it "
             "was.",
             0);
}

}  // namespace lumvane
