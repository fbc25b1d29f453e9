// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh folder for one test, removed with everything in it when the test ends.
#ifndef LUMVANE_TESTS_SUPPORT_TEMP_DIR_H_
#define LUMVANE_TESTS_SUPPORT_TEMP_DIR_H_

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// The whole content of a file ("" when it cannot be read).
inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumvane-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() {
    std::error_code error;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, error);
    std::filesystem::remove_all(path_, error);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // Everything below the folder: each file with its bytes, each folder as "<folder>", by
  // path relative to the folder; to tell whether a run changed anything.
  std::map<std::string, std::string> Snapshot() const {
    namespace fs = std::filesystem;
    std::map<std::string, std::string> entries;
    for (const auto& entry : fs::recursive_directory_iterator(path_)) {
      const std::string name = fs::relative(entry.path(), path_).string();
      entries[name] = entry.is_directory() ? "<folder>" : ReadAll(entry.path());
    }
    return entries;
  }

  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(*this / name, std::ios::binary) << bytes;
  }

 private:
  std::string path_;
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_TEMP_DIR_H_
