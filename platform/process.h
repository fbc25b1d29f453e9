// SPDX-License-Identifier: GPL-3.0-or-later
// This process and the system around it: the stop signals, another program started in its
// place, whether a stream is a terminal.
#ifndef LUMVANE_PLATFORM_PROCESS_H_
#define LUMVANE_PLATFORM_PROCESS_H_

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/status.h"

namespace lumvane {

// Installs the handlers of SIGINT, SIGTERM and SIGHUP: the first such signal is noted in the
// returned number (0 before any), a second of the same kind ends the process at once. The
// number is the process's own, as its signals are.
const std::atomic<int>& InstallStopSignals();

// Whether `path` is a program this user may start.
bool CanExecute(const std::string& path);

// Starts the program `path` in place of this process, with `args` after its name. Returns only
// when it cannot; the message is the system's reason.
Status ExecuteInPlace(const std::string& path, std::vector<std::string> args);

// Whether `stream` goes to a terminal.
bool IsTerminal(FILE* stream);

// Whether the terminal takes the escape that clears a line: TERM names one, and not "dumb".
bool TerminalTakesEscapes();

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_PROCESS_H_
