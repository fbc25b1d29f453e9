#include "importers/label_to_drive.h"

#include <algorithm>

#include "platform/paths.h"

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

std::string SourceOnVolume(const std::string& root, const std::string& folder,
                           const std::string& name) {
  if (root == kFallbackDrive) return root + "\\" + folder + "\\" + name;
  std::string relative = folder;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return relative.empty() ? JoinPath(root, name) : JoinPath(JoinPath(root, relative), name);
}

}  // namespace lumvane
