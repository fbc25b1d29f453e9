// SPDX-License-Identifier: GPL-3.0-or-later
// lumvane history and lumvane restore: the earlier versions an archive's history keeps,
// listed, and one of them brought back.
#ifndef LUMVANE_CLI_HISTORY_COMMAND_H_
#define LUMVANE_CLI_HISTORY_COMMAND_H_

#include <string>

namespace lumvane {

// One line per kept version of the archive in `dest`, newest first: number, when it was
// replaced, by which command, how many pictures. Returns the exit code.
int RunHistoryCommand(const std::string& dest);

// Brings back version `number` (digits) of the archive in `dest`, keeping the archive it
// replaces as a version of its own. Returns the exit code.
int RunRestoreCommand(const std::string& dest, const std::string& number);

}  // namespace lumvane

#endif  // LUMVANE_CLI_HISTORY_COMMAND_H_
