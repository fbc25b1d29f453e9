// SPDX-License-Identifier: GPL-3.0-or-later
// The one description of the command line: every option once, and each command with its
// arguments and the options it takes. The parser, the help, and the checks of the bash
// completion and the manual page all read it.
#ifndef LUMVANE_CLI_COMMAND_LINE_H_
#define LUMVANE_CLI_COMMAND_LINE_H_

#include <string_view>
#include <vector>

namespace lumvane {

struct OptionSpec {
  std::string_view name;        // "--copy"
  char short_name = 0;          // 'v' for -v; 0 for none
  std::string_view value_name;  // "MODE"; empty for an option without a value
  std::string_view text;        // what it does, in the help
};

struct CommandOption {
  std::string_view name;       // an OptionSpec's name
  std::string_view text = {};  // its text for this command, where it differs; empty otherwise
};

struct CommandSpec {
  std::string_view name;       // "scan"
  std::string_view arguments;  // "SOURCE_DIR DEST_DIR"
  std::string_view purpose;    // a sentence or two, in the help
  std::vector<CommandOption> options;
};

// Every option of every command, and -h/--help, which all of them take.
const std::vector<OptionSpec>& Options();
// The commands, in the order the help lists them.
const std::vector<CommandSpec>& Commands();

// The option named `name` ("--copy"), or null.
const OptionSpec* FindOption(std::string_view name);
// The command named `name`, or null.
const CommandSpec* FindCommand(std::string_view name);

}  // namespace lumvane

#endif  // LUMVANE_CLI_COMMAND_LINE_H_
