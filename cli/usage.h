// The command line's help texts: each command's alone, and the whole help.
#ifndef LUMVANE_CLI_USAGE_H_
#define LUMVANE_CLI_USAGE_H_

#include <string>
#include <string_view>

namespace lumvane {

// The help of `command` ("scan", "catalog", "master", "edit", "locations"); "" for a word that
// names no command.
std::string CommandUsage(std::string_view command);

// The whole help: every command's, then what holds for all of them.
std::string UsageText();

}  // namespace lumvane

#endif  // LUMVANE_CLI_USAGE_H_
