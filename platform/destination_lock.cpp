// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/destination_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "platform/paths.h"

namespace lumvane {

Status DestinationLock::Acquire(const std::string& folder, std::chrono::milliseconds patience) {
  Release();
  const std::string path = JoinPath(folder, kLockFileName);
  const auto give_up = std::chrono::steady_clock::now() + patience;
  // The holder removes the file when it lets go; a lock taken on a file that was removed
  // meanwhile guards nothing, so take it again on the file that now has the name.
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Made here, or found: a lock file this call made goes again when locks cannot be taken.
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    const bool made = fd >= 0;
    if (!made && errno == EEXIST) {
      fd = open(path.c_str(), O_RDWR | O_CLOEXEC);
      if (fd < 0 && errno == ENOENT) continue;  // its holder removed it meanwhile
    }
    if (fd < 0) {
      return Status::FromErrno(errno, "Cannot write into " + folder + ": " + std::strerror(errno));
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      // A file this call made and another run locked first is that run's lock: left to it.
      if (made && error != EWOULDBLOCK) unlink(path.c_str());
      close(fd);
      if (error == EWOULDBLOCK && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        attempt = 0;
        continue;
      }
      if (error == EWOULDBLOCK)
        return Status::Error(StatusCode::kBusy, folder + " is being written by another run");
      return Status::FromErrno(error, "Cannot write into " + folder + ": " + std::strerror(error));
    }
    struct stat held {
    }, named{};
    if (fstat(fd, &held) == 0 && stat(path.c_str(), &named) == 0 && held.st_ino == named.st_ino &&
        held.st_dev == named.st_dev) {
      fd_ = fd;
      path_ = path;
      return Status::Ok();
    }
    close(fd);
  }
  return Status::Error(StatusCode::kBusy, folder + " is being written by another run");
}

void DestinationLock::Release() {
  if (fd_ < 0) return;
  unlink(path_.c_str());  // before unlocking, so a waiting run finds a fresh file
  close(fd_);
  fd_ = -1;
  path_.clear();
}

}  // namespace lumvane
