// SPDX-License-Identifier: GPL-3.0-or-later
// The plain files of one folder (no subfolders are entered).
#ifndef LUMVANE_PLATFORM_DIRECTORY_LISTING_H_
#define LUMVANE_PLATFORM_DIRECTORY_LISTING_H_

#include <string>
#include <vector>

#include "platform/status.h"

namespace lumvane {

// Appends to `names` the names of the regular files (symbolic links to them included) in
// `folder`, in no particular order; names starting with "." are left out unless
// `include_hidden`.
Status ListFiles(const std::string& folder, bool include_hidden, std::vector<std::string>* names);

// Appends to `names` the names of the subfolders of `folder` (links to folders included), in no
// particular order; names starting with "." are left out.
Status ListVisibleFolders(const std::string& folder, std::vector<std::string>* names);

// Ok when the entries of `folder` can be read; else "Cannot read the folder FOLDER: reason".
Status CheckReadableFolder(const std::string& folder);

// True when `path` names a regular file whose name does not start with ".".
bool IsVisibleFile(const std::string& path);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_DIRECTORY_LISTING_H_
