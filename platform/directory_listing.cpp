#include "platform/directory_listing.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace lumvane {

Status ListFiles(const std::string& folder, bool include_hidden, std::vector<std::string>* names) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return Status::Error("Cannot read the folder " + folder + ": " + error.message());
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) return Status::Error("Cannot read the folder " + folder + ": " + error.message());
    std::string name = it->path().filename().string();
    if (!include_hidden && name.starts_with('.')) continue;
    std::error_code type_error;
    if (!it->is_regular_file(type_error)) continue;
    names->push_back(std::move(name));
  }
  return Status::Ok();
}

Status CheckReadableFolder(const std::string& folder) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return Status::Error("Cannot read the folder " + folder + ": " + error.message());
  return Status::Ok();
}

bool IsVisibleFile(const std::string& path) {
  const fs::path p(path);
  if (p.filename().string().starts_with('.')) return false;
  std::error_code error;
  return fs::is_regular_file(p, error);
}

}  // namespace lumvane
