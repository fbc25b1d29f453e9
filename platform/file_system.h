// SPDX-License-Identifier: GPL-3.0-or-later
// The small questions and changes of the file system that the parts above platform/ need, so
// that no system call sits outside it.
#ifndef LUMVANE_PLATFORM_FILE_SYSTEM_H_
#define LUMVANE_PLATFORM_FILE_SYSTEM_H_

#include <string>

#include "platform/status.h"

namespace lumvane {

enum class FileKind { kRegular, kFolder, kFifo, kSocket, kDevice };

struct FileFacts {
  FileKind kind = FileKind::kRegular;  // of what a link leads to
  long long size = 0;
  bool owned_by_me = false;  // by the user this program runs as
  long long changed_ns = 0;  // its last change, in nanoseconds since 1970
};

// What `path` is, following links. kNotFound when nothing is there (or a link leads nowhere);
// otherwise a failure's message is the system's reason.
StatusOr<FileFacts> FactsOf(const std::string& path);

// Whether the name `path` itself is a symbolic link.
bool IsSymbolicLink(const std::string& path);
// Whether something is at `path`, following links.
bool PathExists(const std::string& path);
// Whether the name `path` is taken, by anything, a link that leads nowhere included.
bool NameTaken(const std::string& path);
// Whether this program may make files in `folder`.
bool CanWriteInto(const std::string& folder);

// Renames `from` to `to`, replacing a file there; the failure's message is the system's reason.
Status RenamePath(const std::string& from, const std::string& to);
// Removes the file `path`; ok when there is none. The failure's message is the system's reason.
Status RemoveFile(const std::string& path);
// Removes `folder` when it is empty; silent otherwise.
void RemoveEmptyFolder(const std::string& folder);
// Gives the file `from` a second name `to`; false where the file system cannot (errno set).
bool MakeHardLink(const std::string& from, const std::string& to);

// This process's id, for names no other run uses.
int ThisProcessId();

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_FILE_SYSTEM_H_
