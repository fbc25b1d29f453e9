// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/drive_map.h"

#include <algorithm>
#include <cctype>

#include "platform/paths.h"

namespace lumvane {

std::string MapDrive(const DriveMap& drives, const std::string& path) {
  if (path.size() < 3 || path[1] != ':' || (path[2] != '\\' && path[2] != '/')) return path;
  const auto drive =
      drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
  if (drive == drives.end()) return path;
  std::string rest = path.substr(3);
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return JoinPath(drive->second, rest);
}

std::string LocateCatalogSource(const DriveMap& drives, const std::string& catalog_folder,
                                const std::string& path) {
  std::string located = MapDrive(drives, path);
  const bool rooted = located.starts_with('/') || located.starts_with('\\') ||
                      (located.size() >= 2 && located[1] == ':');
  if (rooted || located.empty() || catalog_folder.empty()) return located;
  return JoinPath(catalog_folder, located);
}

}  // namespace lumvane
