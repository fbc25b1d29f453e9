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

FileProbe ProbeFile(const std::string& path, std::string* reason) {
  const int fd = OpenRegularFile(path);
  if (fd >= 0) {
    close(fd);
    return FileProbe::kReadable;
  }
  const int error = errno;
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return FileProbe::kMissing;
    case EACCES:
    case EPERM:
      return FileProbe::kPermissionDenied;
    case EISDIR:
    case EINVAL:
    case ENXIO:  // a socket
      return FileProbe::kNotRegular;
    default:
      if (reason != nullptr) *reason = std::strerror(error);
      return FileProbe::kUnreadable;
  }
}

}  // namespace lumvane
