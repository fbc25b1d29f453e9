// SPDX-License-Identifier: GPL-3.0-or-later
// `lumvane scan --recursive`: a photo library, a tree of folders, made into an archive for each
// folder with pictures and a master at each level above them (run/library_plan.h).
#ifndef LUMVANE_CLI_LIBRARY_COMMAND_H_
#define LUMVANE_CLI_LIBRARY_COMMAND_H_

#include <functional>

#include "cli/options.h"

namespace lumvane {

// Runs each step of the library's plan that its last run left unchanged not again, each through
// `run_one` (a scan or master command with that step's folders; its exit status), and says
// what was done. Exits 1 when a step failed, 128 + the signal when one was stopped.
int RunLibraryCommand(const CliOptions& options,
                      const std::function<int(const CliOptions&)>& run_one);

// The scan's hint when `source` holds no pictures but folders that do: a message naming
// --recursive; "" otherwise.
std::string FoldersOnlyHint(const std::string& source, bool jpeg_only);

}  // namespace lumvane

#endif  // LUMVANE_CLI_LIBRARY_COMMAND_H_
