// Windows paths from catalogs ("X:\folder\name.jpg") read from folders of this machine.
#ifndef LUMVANE_PLATFORM_DRIVE_MAP_H_
#define LUMVANE_PLATFORM_DRIVE_MAP_H_

#include <map>
#include <string>

namespace lumvane {

// Drive letter (upper case) to the folder that holds that drive's files.
using DriveMap = std::map<char, std::string>;

// `path` read through `drives`: "X:\a\b.jpg" with X mapped to DIR gives DIR/a/b.jpg ("\" read
// as "/"). Paths of unmapped drives, and all other paths, come back unchanged.
std::string MapDrive(const DriveMap& drives, const std::string& path);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_DRIVE_MAP_H_
