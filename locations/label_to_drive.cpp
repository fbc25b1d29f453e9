// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/label_to_drive.h"

namespace lumvane {

std::string LabelToDrive(const std::string& label, std::map<std::string, std::string>& cache,
                         const VolumeSource& volumes, const VolumeFolders& placed) {
  if (const auto folder = placed.find(label); folder != placed.end()) return folder->second;
  if (const auto known = cache.find(label); known != cache.end()) return known->second;
  std::string root = kFallbackDrive;
  for (const Volume& volume : volumes()) {
    if (volume.label == label) {
      root = volume.mount_point;
      break;
    }
  }
  cache[label] = root;
  return root;
}

}  // namespace lumvane
