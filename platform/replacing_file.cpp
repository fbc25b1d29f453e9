#include "platform/replacing_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace lumvane {
namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

}  // namespace

ReplacingFile::~ReplacingFile() {
  Abandon();
}

Status ReplacingFile::Open(const std::string& final_path) {
  Abandon();
  final_path_ = final_path;
  temp_path_ = final_path + ".tmp-XXXXXX";
  const int fd = mkstemp(temp_path_.data());
  if (fd < 0) {
    const int error = errno;
    temp_path_.clear();
    return Status::Error("Cannot write into the folder " + FolderOf(final_path) + ": " +
                         std::strerror(error));
  }
  fchmod(fd, 0644);
  file_ = fdopen(fd, "wb");
  if (file_ == nullptr) {
    close(fd);
    unlink(temp_path_.c_str());
    temp_path_.clear();
    return Status::Error("Cannot write " + final_path);
  }
  write_failed_ = false;
  return Status::Ok();
}

void ReplacingFile::WriteLine(std::string_view line) {
  if (file_ == nullptr) return;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
      std::fputs("\r\n", file_) == EOF) {
    write_failed_ = true;
  }
}

Status ReplacingFile::Commit() {
  if (file_ == nullptr) return Status::Error("Nothing to write for " + final_path_);
  bool ok = !write_failed_ && std::fflush(file_) == 0;
  ok = (std::fclose(file_) == 0) && ok;
  file_ = nullptr;
  if (ok && std::rename(temp_path_.c_str(), final_path_.c_str()) == 0) {
    temp_path_.clear();
    return Status::Ok();
  }
  const int error = errno;
  unlink(temp_path_.c_str());
  temp_path_.clear();
  return Status::Error("Cannot write " + final_path_ + ": " + std::strerror(error));
}

bool CopyReplacing(const std::string& from, const std::string& to) {
  namespace fs = std::filesystem;
  std::error_code error;
  if (fs::equivalent(from, to, error)) return true;
  const fs::path temp = to + ".tmp-copy";
  fs::copy_file(from, temp, fs::copy_options::overwrite_existing, error);
  if (!error) fs::rename(temp, to, error);
  if (error) fs::remove(temp, error);
  return !error;
}

void ReplacingFile::Abandon() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
  if (!temp_path_.empty()) unlink(temp_path_.c_str());
  temp_path_.clear();
}

}  // namespace lumvane
