// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_copy.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_probe.h"
#include "platform/replacing_file.h"
#include "platform/temporary_files.h"

namespace lumvane {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads up to `size` bytes, retrying short reads; -1 on error.
ssize_t ReadFully(int fd, char* buffer, size_t size) {
  size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, buffer + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

bool WriteFully(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

bool SameBytes(int a, int b) {
  std::vector<char> x(1 << 16), y(1 << 16);
  while (true) {
    const ssize_t n = ReadFully(a, x.data(), x.size());
    const ssize_t m = ReadFully(b, y.data(), y.size());
    if (n < 0 || n != m) return false;
    if (n == 0) return true;
    if (std::memcmp(x.data(), y.data(), static_cast<size_t>(n)) != 0) return false;
  }
}

// Compares an existing `to` with the open original, byte for byte: another photo of the same
// name, size and time (from a second memory card) is a different file.
StatusOr<CopyMade> CompareExisting(int from, const struct stat& original, const std::string& to) {
  const Descriptor existing(OpenRegularFile(to));
  struct stat info {};
  if (existing.get() >= 0 && fstat(existing.get(), &info) == 0 &&
      info.st_size == original.st_size && lseek(from, 0, SEEK_SET) == 0 &&
      SameBytes(from, existing.get())) {
    return CopyMade::kAlreadyThere;
  }
  return Status::Error(StatusCode::kAlreadyExists, "a different file of that name is in the way");
}

}  // namespace

bool SameContents(const std::string& a, const std::string& b) {
  const Descriptor first(OpenRegularFile(a)), second(OpenRegularFile(b));
  struct stat x {
  }, y{};
  return first.get() >= 0 && second.get() >= 0 && fstat(first.get(), &x) == 0 &&
         fstat(second.get(), &y) == 0 && x.st_size == y.st_size &&
         SameBytes(first.get(), second.get());
}

namespace {

// Refuses a copy that cannot fit before a byte of it is written, so that a large original does
// not fill the disk while the other workers write the archive's own files: EFBIG past the
// process's file size limit, ENOSPC when the free space is too small; the room is then
// reserved where the file system can.
int ReserveRoom(int to, off_t size) {
  rlimit limit{};
  if (getrlimit(RLIMIT_FSIZE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY &&
      static_cast<rlim_t>(size) > limit.rlim_cur) {
    return EFBIG;
  }
  struct statvfs disk {};
  if (size == 0 || fstatvfs(to, &disk) != 0) return 0;
  const auto free_blocks = geteuid() == 0 ? disk.f_bfree : disk.f_bavail;
  if (static_cast<unsigned long long>(free_blocks) * disk.f_frsize <
      static_cast<unsigned long long>(size)) {
    return ENOSPC;
  }
  if (fallocate(to, FALLOC_FL_KEEP_SIZE, 0, size) == 0) return 0;
  return errno == EOPNOTSUPP || errno == ENOSYS || errno == EINVAL ? 0 : errno;
}

// Copies the bytes, then the time; syncs. The permission bits came with the file's creation.
// Returns 0 or the errno of the failure.
int FillTemporary(int from, int to, const struct stat& original) {
  if (const int error = ReserveRoom(to, original.st_size); error != 0) return error;
  std::vector<char> buffer(1 << 16);
  while (true) {
    const ssize_t n = ReadFully(from, buffer.data(), buffer.size());
    if (n < 0) return errno;
    if (n == 0) break;
    if (!WriteFully(to, buffer.data(), static_cast<size_t>(n))) return errno;
  }
  const struct timespec times[2] = {original.st_atim, original.st_mtim};
  if (futimens(to, times) != 0 || fsync(to) != 0) return errno;
  return 0;
}

// Gives the temporary its final name unless something took that name meanwhile.
int RenameWithoutReplacing(const std::string& temp, const std::string& to) {
  if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (access(to.c_str(), F_OK) == 0) return EEXIST;  // a file system without the flag
  return std::rename(temp.c_str(), to.c_str()) == 0 ? 0 : errno;
}

Status Failed(int error) {
  return Status::FromErrno(error, std::strerror(error));
}

}  // namespace

StatusOr<CopyMade> CopyToNewFile(const std::string& from, const std::string& to) {
  const Descriptor source(OpenRegularFile(from));
  struct stat original {};
  if (source.get() < 0 || fstat(source.get(), &original) != 0) return Failed(errno);
  struct stat existing {};
  if (lstat(to.c_str(), &existing) == 0) return CompareExisting(source.get(), original, to);
  std::string temp;
  const Descriptor target(CreateTemporary(FolderOf(to), kCopyStem, original.st_mode & 0777, &temp));
  if (target.get() < 0) return Failed(errno);
  int error = FillTemporary(source.get(), target.get(), original);
  if (error == 0) error = RenameWithoutReplacing(temp, to);
  if (error == 0) return CopyMade::kNewFile;
  unlink(temp.c_str());
  // Another copy took the name meanwhile (a catalog naming one original twice, copied by two
  // workers at once): it is in the way only when it holds other bytes.
  if (error == EEXIST) return CompareExisting(source.get(), original, to);
  return Failed(error);
}

Status CopyToTemporary(const std::string& from, const std::string& folder, const std::string& stem,
                       std::string* temp) {
  const Descriptor source(OpenRegularFile(from));
  struct stat original {};
  if (source.get() < 0 || fstat(source.get(), &original) != 0) {
    return Status::FromErrno(errno, "Cannot read " + from + ": " + std::strerror(errno));
  }
  const Descriptor target(CreateTemporary(folder, stem, 0666, temp));
  if (target.get() < 0) {
    return Status::FromErrno(errno, "Cannot write into " + folder + ": " + std::strerror(errno));
  }
  if (const int error = FillTemporary(source.get(), target.get(), original); error != 0) {
    unlink(temp->c_str());
    return Status::FromErrno(error, "Cannot write into " + folder + ": " + std::strerror(error));
  }
  return Status::Ok();
}

}  // namespace lumvane
