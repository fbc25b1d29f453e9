// SPDX-License-Identifier: GPL-3.0-or-later
// What a dry run found, in words: a line each for what the run would archive, copy, replace
// and keep, and the room it needs.
#ifndef LUMVANE_RUN_DRY_RUN_LINES_H_
#define LUMVANE_RUN_DRY_RUN_LINES_H_

#include <string>
#include <vector>

#include "run/run_state.h"

namespace lumvane {

// The lines for a dry run into `dest` (a master's when `master`), whose disk has `available`
// bytes free; the last says that nothing was written, or that the run would not fit.
std::vector<std::string> DryRunLines(const RunState& state, const std::string& dest, bool master,
                                     long long available);

// "1 is there already", "18 are there already": originals that need no copy.
std::string ThereAlready(int originals);

// The bytes free on the disk of `folder`, or of the nearest folder above it that exists.
long long AvailableBytes(const std::string& folder);

}  // namespace lumvane

#endif  // LUMVANE_RUN_DRY_RUN_LINES_H_
