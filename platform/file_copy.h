// SPDX-License-Identifier: GPL-3.0-or-later
// Copies of the user's originals into an archive folder: complete or absent, never replacing
// another file.
#ifndef LUMVANE_PLATFORM_FILE_COPY_H_
#define LUMVANE_PLATFORM_FILE_COPY_H_

#include <string>

#include "platform/status.h"

namespace lumvane {

enum class CopyMade { kNewFile, kAlreadyThere };

// Copies `from` to `to` through a temporary of fixed name length in the folder of `to`,
// synced and given `from`'s modification time and permission bits (less the umask) before it
// takes its name, as a file manager's copy keeps them. An existing `to` is never replaced:
// kAlreadyThere when it holds the same bytes (always compared), kAlreadyExists ("a different
// file of that name is in the way") when not, or when it is no regular file. A failure's
// message is the system's reason, and it leaves nothing behind.
StatusOr<CopyMade> CopyToNewFile(const std::string& from, const std::string& to);

// True when `a` and `b` are regular files of the same bytes (read without waiting on a FIFO).
bool SameContents(const std::string& a, const std::string& b);

// Copies `from` into a new temporary of `stem` in `folder` (see CreateTemporary), synced.
// `*temp` receives its path. Errors read "Cannot write into FOLDER: reason" or
// "Cannot read FROM: reason"; nothing is left behind.
Status CopyToTemporary(const std::string& from, const std::string& folder, const std::string& stem,
                       std::string* temp);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_FILE_COPY_H_
