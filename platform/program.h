// SPDX-License-Identifier: GPL-3.0-or-later
// Another program of this machine, run to its end (the ffmpeg program, say).
#ifndef LUMVANE_PLATFORM_PROGRAM_H_
#define LUMVANE_PLATFORM_PROGRAM_H_

#include <string>
#include <vector>

#include "platform/status.h"

namespace lumvane {

// Runs `arguments` (the program's name first, looked for on PATH) with no input and its output
// dropped, and waits for it. Ok when it exits 0; kNotFound when no such program is installed;
// otherwise the message is the last line it printed on its error output, or how it ended.
Status RunProgram(const std::vector<std::string>& arguments);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_PROGRAM_H_
