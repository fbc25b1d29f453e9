// SPDX-License-Identifier: GPL-3.0-or-later
// Joining and splitting paths. Catalogs written on Windows use "\", so splitting accepts both
// separators; everything Lumvane joins itself uses "/".
#ifndef LUMVANE_PLATFORM_PATHS_H_
#define LUMVANE_PLATFORM_PATHS_H_

#include <string>
#include <string_view>
#include <vector>

namespace lumvane {

struct SplitPath {
  std::string folder;  // everything before the last "/" or "\" (empty when there is none)
  std::string name;    // everything after it
};

// Splits a catalog's source path at its last "/" or "\".
SplitPath SplitCatalogPath(std::string_view path);

// Splits a path of this machine at its last "/" ("\" is part of a name here).
SplitPath SplitNativePath(std::string_view path);

// The names of a catalog's path, split at "\" and "/", without empty ones; views into `path`.
std::vector<std::string_view> CatalogPathNames(std::string_view path);

// `folder` unchanged when it ends in "/", otherwise with "/" appended ("" gives "/").
std::string WithTrailingSeparator(std::string folder);

// WithTrailingSeparator(folder) followed by `name`.
std::string JoinPath(const std::string& folder, std::string_view name);

// The folder that holds the running executable.
std::string ProgramDirectory();

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_PATHS_H_
