#include "platform/case_insensitive_finder.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/paths.h"

namespace lumvane {
namespace {

char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Folded(x) == Folded(y); });
}

const std::vector<std::string>& CaseInsensitiveFinder::NamesOf(const std::string& folder) {
  const auto known = listings_.find(folder);
  if (known != listings_.end()) return known->second;
  std::vector<std::string>& names = listings_[folder];
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  return names;
}

CaseInsensitiveFinder::Found CaseInsensitiveFinder::Find(const std::string& root,
                                                         std::string_view relative) {
  std::string path = root;
  std::string as_given = root;
  for (std::string_view name : CatalogPathNames(relative)) as_given = JoinPath(as_given, name);
  for (std::string_view name : CatalogPathNames(relative)) {
    const std::string exact = JoinPath(path, name);
    if (Exists(exact)) {
      path = exact;
      continue;
    }
    const std::vector<std::string>& names = NamesOf(path);
    const auto matches = std::count_if(names.begin(), names.end(), [name](const std::string& n) {
      return SameIgnoringCase(n, name);
    });
    if (matches != 1) return {matches == 0 ? Found::kMissing : Found::kAmbiguous, as_given};
    path = JoinPath(path, *std::find_if(names.begin(), names.end(), [name](const std::string& n) {
                      return SameIgnoringCase(n, name);
                    }));
  }
  return {Found::kFound, path};
}

}  // namespace lumvane
