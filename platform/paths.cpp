// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <filesystem>
#include <system_error>

namespace lumvane {

namespace {

SplitPath SplitAtLastOf(std::string_view path, std::string_view separators) {
  const size_t last = path.find_last_of(separators);
  if (last == std::string_view::npos) return {"", std::string(path)};
  return {std::string(path.substr(0, last)), std::string(path.substr(last + 1))};
}

}  // namespace

SplitPath SplitCatalogPath(std::string_view path) {
  return SplitAtLastOf(path, "/\\");
}

SplitPath SplitNativePath(std::string_view path) {
  return SplitAtLastOf(path, "/");
}

std::vector<std::string_view> CatalogPathNames(std::string_view path) {
  std::vector<std::string_view> names;
  size_t start = 0;
  for (size_t i = 0; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
    if (i > start) names.push_back(path.substr(start, i - start));
    start = i + 1;
  }
  return names;
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != '/') folder.push_back('/');
  return folder;
}

std::string JoinPath(const std::string& folder, std::string_view name) {
  return WithTrailingSeparator(folder).append(name);
}

std::string ProgramDirectory() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return ".";
  return exe.parent_path().string();
}

}  // namespace lumvane
