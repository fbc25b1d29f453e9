// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a path is a regular file that can be read, found out without ever blocking: a FIFO,
// a device or a folder is named as such instead of being opened for reading.
#ifndef LUMVANE_PLATFORM_FILE_PROBE_H_
#define LUMVANE_PLATFORM_FILE_PROBE_H_

#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/status.h"

namespace lumvane {

// Opens `path` without blocking and looks at what it is: ok for a readable regular file;
// kNotFound, kPermissionDenied, kInvalidInput (a folder, FIFO, device or socket), or kIoError
// with the system's reason as the message.
Status ProbeFile(const std::string& path);

// Reads the whole of `path` into `text` when it is a regular file of at most `limit` bytes
// (OpenRegularFile); false otherwise, `text` then empty. For our own small files (journals,
// notes), which a file of that name must never make us wait on or fill the memory with.
bool ReadSmallFile(const std::string& path, size_t limit, std::string* text);

// Opens `path` for reading, refusing anything but a regular file without blocking on it.
// Returns the descriptor (blocking mode, close-on-exec) or -1 with errno set (EISDIR for a
// folder, EINVAL for any other file that is not regular).
int OpenRegularFile(const std::string& path);

// OpenRegularFile as a stream for reading ("rb"); null when it cannot be opened.
FILE* OpenRegularFileStream(const std::string& path);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_FILE_PROBE_H_
