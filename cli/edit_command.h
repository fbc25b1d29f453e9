// SPDX-License-Identifier: GPL-3.0-or-later
// `lumvane edit`: the archive editor from the command line, or its window.
#ifndef LUMVANE_CLI_EDIT_COMMAND_H_
#define LUMVANE_CLI_EDIT_COMMAND_H_

#include "cli/options.h"

namespace lumvane {

// Lists, shows, sets or deletes as `options` say, one invocation being one opening of the
// editor. Returns the exit code: 0 done, 1 a refused value or a failure (said on stderr).
int RunEditCommand(const CliOptions& options, const std::string& folder);

}  // namespace lumvane

#endif  // LUMVANE_CLI_EDIT_COMMAND_H_
