// SPDX-License-Identifier: GPL-3.0-or-later
// lumvane locations: the saved locations of Windows drives and volumes, listed and changed.
#ifndef LUMVANE_CLI_LOCATIONS_COMMAND_H_
#define LUMVANE_CLI_LOCATIONS_COMMAND_H_

#include "cli/options.h"

namespace lumvane {

// Saves the locations of --drive and --volume (folders that exist; absolute paths), forgets
// those of --forget (a drive letter, "D:" too, or a label), then lists what is saved: one line
// per drive and volume, a folder that is not there marked so. Returns the exit code.
int RunLocationsCommand(const CliOptions& options);

}  // namespace lumvane

#endif  // LUMVANE_CLI_LOCATIONS_COMMAND_H_
