// SPDX-License-Identifier: GPL-3.0-or-later
// "1 picture", "2 pictures": a count and its noun, which takes an s for every count but one;
// "89 MB": a size in words.
#ifndef LUMVANE_PLATFORM_PLURAL_H_
#define LUMVANE_PLATFORM_PLURAL_H_

#include <string>
#include <string_view>

namespace lumvane {

inline std::string CountOf(long long count, std::string_view noun) {
  return std::to_string(count) + " " + std::string(noun) + (count == 1 ? "" : "s");
}

// Bytes in the largest decimal unit that leaves a whole number of at least 1 (as file managers
// show them): "640 bytes", "12 KB", "89 MB", "1.4 GB" (one decimal from a gigabyte on).
inline std::string BytesText(long long bytes) {
  if (bytes < 1000) return CountOf(bytes, "byte");
  if (bytes < 1000 * 1000) return std::to_string((bytes + 500) / 1000) + " KB";
  if (bytes < 1000LL * 1000 * 1000) return std::to_string((bytes + 500000) / 1000000) + " MB";
  const long long tenths = (bytes + 50000000) / 100000000;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " GB";
}

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_PLURAL_H_
