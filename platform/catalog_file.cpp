// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/catalog_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_probe.h"

namespace lumvane {

int CatalogFile::ErrorNumber(const Status& failed) {
  switch (failed.code()) {
    case StatusCode::kNotFound:
      return 53;
    case StatusCode::kPermissionDenied:
      return 70;
    default:
      return 75;
  }
}

Status CatalogFile::Failed(int error) {
  Close();
  return Status::FromErrno(error, error == EINVAL ? "Not a regular file" : std::strerror(error));
}

Status CatalogFile::Open(const std::string& path) {
  Close();
  fd_ = OpenRegularFile(path);
  if (fd_ < 0) return Failed(errno);
  if (flock(fd_, LOCK_SH | LOCK_NB) != 0) {
    const int error = errno;
    if (error != EWOULDBLOCK) return Failed(error);
    Close();
    return Status::Error(StatusCode::kBusy, "open by another program");
  }
  return Status::Ok();
}

bool CatalogFile::ReadAll(std::string* bytes) const {
  if (fd_ < 0) return false;
  bytes->clear();
  if (const long long known = size(); known > 0) bytes->reserve(static_cast<size_t>(known));
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

long long CatalogFile::size() const {
  struct stat info {};
  return fd_ >= 0 && fstat(fd_, &info) == 0 ? static_cast<long long>(info.st_size) : -1;
}

void CatalogFile::Close() {
  if (fd_ >= 0) close(fd_);  // closing releases the lock
  fd_ = -1;
}

}  // namespace lumvane
