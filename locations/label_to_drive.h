// SPDX-License-Identifier: GPL-3.0-or-later
// Volume labels of catalogs resolved to the volumes of this machine.
#ifndef LUMVANE_LOCATIONS_LABEL_TO_DRIVE_H_
#define LUMVANE_LOCATIONS_LABEL_TO_DRIVE_H_

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "locations/volumes.h"

namespace lumvane {

using VolumeSource = std::function<std::vector<Volume>()>;

// Volume label to the folder that holds that volume's files now, as the user said.
using VolumeFolders = std::map<std::string, std::string>;

// The answer for a label no volume carries: drive C of the catalog's Windows machine.
inline constexpr char kFallbackDrive[] = "C:";

// The folder `placed` gives for `label`; else the mount point of the first volume (in
// drive-list order) whose label is `label`, else kFallbackDrive. Mount points are looked up in
// `cache` first and every answer is remembered there, so the volumes are probed at most once
// per label.
std::string LabelToDrive(const std::string& label, std::map<std::string, std::string>& cache,
                         const VolumeSource& volumes, const VolumeFolders& placed = {});

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_LABEL_TO_DRIVE_H_
