#include "platform/temporary_files.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>

#include "platform/paths.h"

namespace lumvane {
namespace {

constexpr std::string_view kMarker = ".tmp-";
constexpr size_t kRandomLength = 6;  // mkstemp's XXXXXX

// "_" + seven upper-case letters or digits + ".jpg": a thumbnail, display image or renamed copy.
bool IsGeneratedImageName(std::string_view name) {
  if (name.size() != 12 || name[0] != '_' || !name.ends_with(".jpg")) return false;
  return std::all_of(name.begin() + 1, name.begin() + 8, [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) ||
           std::isupper(static_cast<unsigned char>(c));
  });
}

bool IsOwnStem(std::string_view stem) {
  static constexpr std::string_view kOwnStems[] = {"archive.htm",     "archive.txt", "archive2.txt",
                                                   "archive_bak.htm", "texture.jpg", "texture2.jpg",
                                                   kCopyStem};
  for (std::string_view own : kOwnStems) {
    if (stem == own) return true;
  }
  return IsGeneratedImageName(stem);
}

}  // namespace

std::string TemporaryTemplate(const std::string& folder, std::string_view stem) {
  return JoinPath(folder, std::string(stem) + std::string(kMarker) + "XXXXXX");
}

int CreateTemporary(const std::string& folder, std::string_view stem, unsigned mode,
                    std::string* path) {
  static constexpr char kLetters[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string candidate = TemporaryTemplate(folder, stem);
    for (size_t i = candidate.size() - kRandomLength; i < candidate.size(); ++i) {
      candidate[i] = kLetters[random() % (sizeof kLetters - 1)];
    }
    const int fd = open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (fd >= 0 || errno != EEXIST) {
      *path = candidate;
      return fd;
    }
  }
  return -1;
}

bool IsLeftoverTemporary(std::string_view name) {
  if (name.size() > 9 && name.ends_with(".tmp-copy")) return true;
  if (name.size() < kMarker.size() + kRandomLength + 1) return false;
  const std::string_view random = name.substr(name.size() - kRandomLength);
  const std::string_view marked = name.substr(0, name.size() - kRandomLength);
  if (!marked.ends_with(kMarker)) return false;
  const bool random_ok = std::all_of(random.begin(), random.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c));
  });
  return random_ok && IsOwnStem(marked.substr(0, marked.size() - kMarker.size()));
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
