// SPDX-License-Identifier: GPL-3.0-or-later
// The mounted volumes of the machine, with their labels: what the drive list shows, and what
// a catalog's volume label resolves to.
#ifndef LUMVANE_LOCATIONS_VOLUMES_H_
#define LUMVANE_LOCATIONS_VOLUMES_H_

#include <string>
#include <vector>

namespace lumvane {

struct Volume {
  std::string mount_point;
  std::string label;  // "" when the file system has none
};

// Mounted block-device file systems: the root first, then the others by label, or by mount
// point when they have no label. Reads /proc/self/mounts and /dev/disk/by-label.
std::vector<Volume> MountedVolumes();

// The same from the texts of a mounts table and a by-label listing (name -> device), for tests.
struct LabelLink {
  std::string name;    // the entry's name, with udev's \xHH escapes
  std::string device;  // the device it points to, resolved
};
std::vector<Volume> VolumesFrom(const std::string& mounts, const std::vector<LabelLink>& labels);

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_VOLUMES_H_
