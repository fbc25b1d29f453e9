// The user's saved locations: which folder of this machine holds each Windows drive and each
// volume (by its label) that catalogs name, kept in the settings file (settings_file.h).
#ifndef LUMVANE_SETTINGS_SAVED_LOCATIONS_H_
#define LUMVANE_SETTINGS_SAVED_LOCATIONS_H_

#include <string>

#include "importers/label_to_drive.h"
#include "platform/drive_map.h"
#include "platform/status.h"

namespace lumvane {

struct SavedLocations {
  DriveMap drives;
  VolumeFolders volumes;

  // The saved locations; none when nothing was saved yet or the file cannot be read.
  static SavedLocations Load();

  // Writes them, replacing what was saved. "Cannot save the locations in FILE" when the file
  // cannot be written.
  Status Save() const;

  // The file they are kept in.
  static std::string File();
};

}  // namespace lumvane

#endif  // LUMVANE_SETTINGS_SAVED_LOCATIONS_H_
