// SPDX-License-Identifier: GPL-3.0-or-later
// Lines of a text: a line ends at CR LF, CR or LF, so files from Windows, old Macs and Linux
// editors all read the same; the last line needs no ending.
#ifndef LUMVANE_PLATFORM_TEXT_LINES_H_
#define LUMVANE_PLATFORM_TEXT_LINES_H_

#include <string_view>
#include <vector>

namespace lumvane {

// The lines of `text`, without their endings; views into `text`.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_TEXT_LINES_H_
