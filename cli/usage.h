// SPDX-License-Identifier: GPL-3.0-or-later
// The command line's help texts, made from its one description (command_line.h), no line
// wider than 80 columns.
#ifndef LUMVANE_CLI_USAGE_H_
#define LUMVANE_CLI_USAGE_H_

#include <string>
#include <string_view>

namespace lumvane {

// The help of `command`: its arguments, purpose and options. "" for a word that names no
// command.
std::string CommandUsage(std::string_view command);

// The whole help: the commands, every option once, and what holds for all of them.
std::string UsageText();

}  // namespace lumvane

#endif  // LUMVANE_CLI_USAGE_H_
