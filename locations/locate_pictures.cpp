// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/locate_pictures.h"

#include <algorithm>

#include "locations/case_insensitive_finder.h"
#include "platform/paths.h"

namespace lumvane {
namespace {

std::string WithoutTrailingSeparators(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

}  // namespace

Status LocateFrom(const CatalogPlace& place, const std::string& chosen,
                  const std::vector<CatalogPlace>& missing, Located* located) {
  const std::vector<std::string_view> names = CatalogPathNames(place.within);
  if (names.empty())
    return Status::Error(StatusCode::kInvalidInput, place.Text() + " names no picture");
  const std::string folder = WithoutTrailingSeparators(chosen);
  CaseInsensitiveFinder finder;
  const std::string name(names.back());
  const auto picture = finder.Find(folder, name);
  if (picture.outcome == CaseInsensitiveFinder::Found::kMissing) {
    return Status::Error(StatusCode::kNotFound, folder + " holds no " + name + ".");
  }
  std::string root = folder;
  for (size_t i = names.size() - 1; i-- > 0;) {
    const SplitPath split = SplitNativePath(root);
    if (root == "/" || !SameIgnoringCase(split.name, names[i])) {
      return Status::Error(StatusCode::kInvalidInput,
                           folder + " holds " + name + ", but not inside the folders " +
                               place.Text() + " names. The drive or volume's folder must hold " +
                               place.within + " below it.");
    }
    root = split.folder.empty() ? "/" : split.folder;
  }
  if (picture.outcome == CaseInsensitiveFinder::Found::kAmbiguous ||
      finder.Find(root, place.within).outcome != CaseInsensitiveFinder::Found::kFound) {
    return Status::Error(StatusCode::kInvalidInput,
                         "More than one file below " + root + " could be " + place.Text() +
                             " (names that differ only in letter case); nothing was saved.");
  }
  located->root = root;
  located->missing = 0;
  located->found = 0;
  for (const CatalogPlace& other : missing) {
    if (!other.SameRoot(place)) continue;
    ++located->missing;
    if (finder.Find(root, other.within).outcome == CaseInsensitiveFinder::Found::kFound) {
      ++located->found;
    }
  }
  return Status::Ok();
}

}  // namespace lumvane
