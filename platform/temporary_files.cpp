// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/temporary_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/paths.h"

namespace lumvane {

std::string TemporaryName(const std::string& folder, std::string_view stem) {
  return JoinPath(folder, kTemporaryPrefix + std::string(stem) + "-");
}

int CreateTemporary(const std::string& folder, std::string_view stem, unsigned mode,
                    std::string* path) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryName(folder, stem);
    for (int i = 0; i < 6; ++i) candidate += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) {
      *path = candidate;
      return fd;
    }
  }
  return -1;
}

StatusOr<std::string> CreateEmptyTemporary(const std::string& folder, std::string_view stem) {
  std::string path;
  const int fd = CreateTemporary(folder, stem, 0666, &path);
  if (fd < 0) {
    return Status::FromErrno(errno, "Cannot write into " + folder + ": " + std::strerror(errno));
  }
  close(fd);
  return path;
}

bool IsLeftoverTemporary(std::string_view name) {
  return name.starts_with(kTemporaryPrefix);
}

int RemoveLeftoverTemporaries(const std::string& folder) {
  namespace fs = std::filesystem;
  std::error_code error;
  int removed = 0;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    std::error_code type_error;
    if (!IsLeftoverTemporary(name) || !it->is_regular_file(type_error)) continue;
    if (unlink(it->path().c_str()) == 0) ++removed;
  }
  return removed;
}

}  // namespace lumvane
