// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/replacing_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/temporary_files.h"

namespace lumvane {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

void SyncFolder(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

std::string SyncFileSystemOf(const std::string& folder) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  const int synced = syncfs(fd);
  const int error = errno;
  close(fd);
  return synced == 0 ? "" : std::strerror(error);
}

ReplacingFile::~ReplacingFile() {
  Abandon();
}

Status ReplacingFile::Failure(int error) {
  return Status::FromErrno(
      error, "Cannot write into " + FolderOf(final_path_) + ": " + std::strerror(error));
}

Status ReplacingFile::Open(const std::string& final_path) {
  Abandon();
  final_path_ = final_path;
  const size_t slash = final_path.find_last_of('/');
  const int fd = CreateTemporary(
      FolderOf(final_path), slash == std::string::npos ? final_path : final_path.substr(slash + 1),
      0666, &temp_path_);
  if (fd < 0) {
    const int error = errno;
    temp_path_.clear();
    return Failure(error);
  }
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    const int error = errno;
    close(fd);
    Abandon();
    return Failure(error);
  }
  write_error_ = 0;
  digest_ = ContentDigest();
  return Status::Ok();
}

void ReplacingFile::WriteLine(std::string_view line) {
  if (file_ == nullptr || write_error_ != 0) return;
  digest_.Add(line);
  digest_.Add("\r\n");
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
      std::fputs("\r\n", file_) == EOF) {
    write_error_ = errno != 0 ? errno : EIO;
  }
}

void ReplacingFile::Write(std::string_view bytes) {
  if (file_ == nullptr || write_error_ != 0) return;
  digest_.Add(bytes);
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    write_error_ = errno != 0 ? errno : EIO;
  }
}

Status ReplacingFile::Flush() {
  if (file_ == nullptr)
    return Status::Error(StatusCode::kInternal, "Nothing to write for " + final_path_);
  if (write_error_ == 0 && std::fflush(file_) != 0) write_error_ = errno != 0 ? errno : EIO;
  return write_error_ == 0 ? Status::Ok() : Failure(write_error_);
}

Status ReplacingFile::Finish() {
  Status flushed = Flush();
  if (!flushed.ok()) return flushed;
  int error = fsync(fileno(file_)) == 0 ? 0 : errno;
  if (std::fclose(file_) != 0 && error == 0) error = errno;
  file_ = nullptr;
  return error == 0 ? Status::Ok() : Failure(error);
}

Status ReplacingFile::MoveTo(const std::string& final_path) {
  if (temp_path_.empty() || file_ != nullptr) {
    return Status::Error(StatusCode::kInternal, "Nothing to write for " + final_path);
  }
  struct stat earlier {};  // a replaced file keeps its permissions (read-only stays so)
  if (stat(final_path.c_str(), &earlier) == 0 && S_ISREG(earlier.st_mode)) {
    chmod(temp_path_.c_str(), earlier.st_mode & 07777);
  }
  if (std::rename(temp_path_.c_str(), final_path.c_str()) != 0) return Failure(errno);
  temp_path_.clear();
  return Status::Ok();
}

Status ReplacingFile::Commit() {
  Status status = Finish();
  if (status.ok()) status = MoveTo(final_path_);
  if (!status.ok()) Abandon();
  return status;
}

void ReplacingFile::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_path_.empty()) unlink(temp_path_.c_str());
  temp_path_.clear();
}

}  // namespace lumvane
