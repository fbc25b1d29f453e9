#include "platform/catalog_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace lumvane {
namespace {

int CatalogErrorNumber(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR:
      return 53;
    case EACCES:
    case EPERM:
      return 70;
    default:
      return 75;
  }
}

}  // namespace

CatalogFile::OpenResult CatalogFile::Open(const std::string& path) {
  Close();
  fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    error_number_ = CatalogErrorNumber(errno);
    return OpenResult::kFailed;
  }
  struct stat info {};
  if (fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    Close();
    error_number_ = 75;
    return OpenResult::kFailed;
  }
  if (flock(fd_, LOCK_SH | LOCK_NB) != 0) {
    const int error = errno;
    Close();
    if (error == EWOULDBLOCK) return OpenResult::kInUse;
    error_number_ = CatalogErrorNumber(error);
    return OpenResult::kFailed;
  }
  return OpenResult::kOpened;
}

bool CatalogFile::ReadAll(std::string* bytes) const {
  if (fd_ < 0) return false;
  bytes->clear();
  char buffer[1 << 16];
  for (off_t offset = 0;;) {
    const ssize_t got = pread(fd_, buffer, sizeof buffer, offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    bytes->append(buffer, static_cast<size_t>(got));
    offset += got;
  }
}

void CatalogFile::Close() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
  fd_ = -1;
}

}  // namespace lumvane
