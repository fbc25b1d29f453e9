// SPDX-License-Identifier: GPL-3.0-or-later
// Windows paths from catalogs ("X:\folder\name.jpg") read from folders of this machine.
#ifndef LUMVANE_LOCATIONS_DRIVE_MAP_H_
#define LUMVANE_LOCATIONS_DRIVE_MAP_H_

#include <map>
#include <string>

namespace lumvane {

// Drive letter (upper case) to the folder that holds that drive's files.
using DriveMap = std::map<char, std::string>;

// `path` read through `drives`: "X:\a\b.jpg" with X mapped to DIR gives DIR/a/b.jpg ("\" read
// as "/"). Paths of unmapped drives, and all other paths, come back unchanged.
std::string MapDrive(const DriveMap& drives, const std::string& path);

// `path` read through `drives`; then a relative path ("x.jpg", "sub\x.jpg") is taken relative
// to `catalog_folder`. Paths that start at a root ("/", "\", a drive letter) stay as they are,
// and so does every path when `catalog_folder` is empty.
std::string LocateCatalogSource(const DriveMap& drives, const std::string& catalog_folder,
                                const std::string& path);

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_DRIVE_MAP_H_
