// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace lumvane {
namespace {

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kFolder;
  if (S_ISFIFO(mode)) return FileKind::kFifo;
  if (S_ISSOCK(mode)) return FileKind::kSocket;
  return FileKind::kDevice;
}

}  // namespace

StatusOr<FileFacts> FactsOf(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return Status::FromErrno(errno, std::strerror(errno));
  FileFacts facts;
  facts.kind = KindOf(info.st_mode);
  facts.size = static_cast<long long>(info.st_size);
  facts.owned_by_me = info.st_uid == geteuid();
  facts.changed_ns =
      static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
  return facts;
}

bool IsSymbolicLink(const std::string& path) {
  struct stat name {};
  return lstat(path.c_str(), &name) == 0 && S_ISLNK(name.st_mode);
}

bool PathExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

bool NameTaken(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

bool CanWriteInto(const std::string& folder) {
  return access(folder.c_str(), W_OK) == 0;
}

Status RenamePath(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return Status::Ok();
  return Status::FromErrno(errno, std::strerror(errno));
}

Status RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT) return Status::Ok();
  return Status::FromErrno(errno, std::strerror(errno));
}

void RemoveEmptyFolder(const std::string& folder) {
  rmdir(folder.c_str());
}

bool MakeHardLink(const std::string& from, const std::string& to) {
  return link(from.c_str(), to.c_str()) == 0;
}

int ThisProcessId() {
  return static_cast<int>(getpid());
}

}  // namespace lumvane
