// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures that a catalog places on a volume by its label.
#ifndef LUMVANE_IMPORTERS_VOLUME_PLACE_H_
#define LUMVANE_IMPORTERS_VOLUME_PLACE_H_

#include <string>

#include "importers/import_run.h"

namespace lumvane {

// A picture `within` the volume labelled `label` whose root is `root` (LabelToDrive's answer),
// handed to `picture`: its place, and its source: found below the root in any letter case, or
// "C:\within" for the fallback drive.
void PlaceOnVolume(ImportRun& run, const std::string& label, const std::string& root,
                   const std::string& within, PictureInput* picture);

// "folder\name", or the name alone for a volume's root folder.
std::string WithinVolume(const std::string& folder, const std::string& name);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_VOLUME_PLACE_H_
