// SPDX-License-Identifier: GPL-3.0-or-later
// A photo library made in a run's window (the scan mode's "and its subfolders"): each step of
// its plan (library_plan.h) that changed, as one run with the folders of that step.
#ifndef LUMVANE_RUN_LIBRARY_RUN_H_
#define LUMVANE_RUN_LIBRARY_RUN_H_

#include <string>

#include "run/run_driver.h"
#include "run/run_state.h"
#include "run/run_window.h"

namespace lumvane {

// Plans the window's source folder into its destination and runs every changed step through
// GoClick: the copy question is asked once first, Go stays Stop until the last step, Stop ends the
// library after the step in hand. At the end `state` holds the library's pictures and what was
// left out, which the window reports once, with the folders left out of the plan.
void RunLibrary(RunWindow& window, RunState& state, const RunEnvironment& environment);

// The options of a run that change what a step makes, for its fingerprint.
std::string LibraryOptions(CopyMode copy_mode, const RunEnvironment& environment);

}  // namespace lumvane

#endif  // LUMVANE_RUN_LIBRARY_RUN_H_
