// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/volume_place.h"

#include "locations/label_to_drive.h"

namespace lumvane {

void PlaceOnVolume(ImportRun& run, const std::string& label, const std::string& root,
                   const std::string& within, PictureInput* picture) {
  picture->place = CatalogPlace{CatalogPlace::Kind::kVolume, label, within};
  picture->source = root == kFallbackDrive ? root + "\\" + within : run.FindBelow(root, within);
}

std::string WithinVolume(const std::string& folder, const std::string& name) {
  return folder.empty() ? name : folder + "\\" + name;
}

}  // namespace lumvane
