// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_probe.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace lumvane {

int OpenRegularFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info {};
  int error = 0;
  if (fstat(fd, &info) != 0) {
    error = errno;
  } else if (!S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
  } else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
    error = errno;
  }
  if (error == 0) return fd;
  close(fd);
  errno = error;
  return -1;
}

bool ReadSmallFile(const std::string& path, size_t limit, std::string* text) {
  text->clear();
  const int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  char buffer[8192];
  ssize_t got = 0;
  while (text->size() <= limit && (got = read(fd, buffer, sizeof buffer)) != 0) {
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) break;
    text->append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  if (got == 0 && text->size() <= limit) return true;
  text->clear();
  return false;
}

Status ProbeFile(const std::string& path) {
  const int fd = OpenRegularFile(path);
  if (fd >= 0) {
    close(fd);
    return Status::Ok();
  }
  const int error = errno;
  switch (error) {
    case EISDIR:
    case EINVAL:
    case ENXIO:  // a socket
      return Status::Error(StatusCode::kInvalidInput, "not a regular file");
    default:
      return Status::FromErrno(error, std::strerror(error));
  }
}

FILE* OpenRegularFileStream(const std::string& path) {
  const int fd = OpenRegularFile(path);
  FILE* stream = fd < 0 ? nullptr : fdopen(fd, "rb");
  if (stream == nullptr && fd >= 0) close(fd);
  return stream;
}

}  // namespace lumvane
