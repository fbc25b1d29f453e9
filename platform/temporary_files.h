// SPDX-License-Identifier: GPL-3.0-or-later
// The temporary files Lumvane writes beside the files they become, and the removal of those
// that a killed run left behind.
#ifndef LUMVANE_PLATFORM_TEMPORARY_FILES_H_
#define LUMVANE_PLATFORM_TEMPORARY_FILES_H_

#include <string>
#include <string_view>

#include "platform/status.h"

namespace lumvane {

// Every temporary name begins with this hidden prefix, which no photo program writes, so that
// the clean-up never takes a user's file for one of ours.
inline constexpr char kTemporaryPrefix[] = ".lumvane-tmp-";

// The name of a temporary of `stem` in `folder`, before its random part:
// "folder/.lumvane-tmp-stem-" (the caller appends six random letters or digits).
std::string TemporaryName(const std::string& folder, std::string_view stem);

// Creates a new temporary of `stem` in `folder` (TemporaryName and six random characters),
// with `mode` less the process's umask, as any new file gets. Returns the descriptor, open for
// writing, and its path; -1 with errno set when it cannot be created.
int CreateTemporary(const std::string& folder, std::string_view stem, unsigned mode,
                    std::string* path);

// CreateTemporary of an empty file, closed, for another program to write; its path.
StatusOr<std::string> CreateEmptyTemporary(const std::string& folder, std::string_view stem);

// The stem of a temporary copy of an original: a fixed, short name, so that the temporary's
// name stays within the file system's limit whatever the original is called.
inline constexpr char kCopyStem[] = "copy";

// True for the names of Lumvane's own temporaries (they begin with kTemporaryPrefix).
bool IsLeftoverTemporary(std::string_view name);

// Removes from `folder` every file whose name IsLeftoverTemporary. Returns how many.
// REQUIRES: the caller holds the folder's DestinationLock, so no running run owns them.
int RemoveLeftoverTemporaries(const std::string& folder);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_TEMPORARY_FILES_H_
