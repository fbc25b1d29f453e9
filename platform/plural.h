// SPDX-License-Identifier: GPL-3.0-or-later
// "1 picture", "2 pictures": a count and its noun, which takes an s for every count but one.
#ifndef LUMVANE_PLATFORM_PLURAL_H_
#define LUMVANE_PLATFORM_PLURAL_H_

#include <string>
#include <string_view>

namespace lumvane {

inline std::string CountOf(long long count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_PLURAL_H_
