// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/directory_listing.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace lumvane {

namespace {

// The names of the entries of `folder` that `wanted` accepts.
template <typename Wanted>
Status ListEntries(const std::string& folder, bool include_hidden, const Wanted& wanted,
                   std::vector<std::string>* names) {
  std::error_code error;
  // A failed read ends the iteration as if the folder had ended: the error is checked after
  // the loop, so that a listing cut short by a failing disk is never taken as whole.
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::string name = it->path().filename().string();
    if (!include_hidden && name.starts_with('.')) continue;
    std::error_code type_error;
    if (!wanted(*it, type_error)) continue;
    names->push_back(std::move(name));
  }
  if (error)
    return Status::FromErrno(error.value(),
                             "Cannot read the folder " + folder + ": " + error.message());
  return Status::Ok();
}

}  // namespace

Status ListFiles(const std::string& folder, bool include_hidden, std::vector<std::string>* names) {
  return ListEntries(
      folder, include_hidden,
      [](const fs::directory_entry& entry, std::error_code& error) {
        return entry.is_regular_file(error);
      },
      names);
}

Status ListVisibleFolders(const std::string& folder, std::vector<std::string>* names) {
  return ListEntries(
      folder, false,
      [](const fs::directory_entry& entry, std::error_code& error) {
        return entry.is_directory(error);
      },
      names);
}

Status CheckReadableFolder(const std::string& folder) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error)
    return Status::FromErrno(error.value(),
                             "Cannot read the folder " + folder + ": " + error.message());
  return Status::Ok();
}

bool IsVisibleFile(const std::string& path) {
  const fs::path p(path);
  if (p.filename().string().starts_with('.')) return false;
  std::error_code error;
  return fs::is_regular_file(p, error);
}

}  // namespace lumvane
