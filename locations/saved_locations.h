// SPDX-License-Identifier: GPL-3.0-or-later
// The user's saved locations: which folder of this machine holds each Windows drive and each
// volume (by its label) that catalogs name, kept in the settings file (settings_file.h).
#ifndef LUMVANE_LOCATIONS_SAVED_LOCATIONS_H_
#define LUMVANE_LOCATIONS_SAVED_LOCATIONS_H_

#include <QSettings>
#include <functional>
#include <string>

#include "locations/drive_map.h"
#include "locations/label_to_drive.h"
#include "platform/status.h"

namespace lumvane {

// More drives or volumes than a settings file of ours can hold: one that claims more is
// damaged.
inline constexpr int kMostSavedLocations = 10000;

struct SavedLocations {
  DriveMap drives;
  VolumeFolders volumes;

  // Reads the saved locations; none when nothing was saved yet. Errors name the file and the
  // reason (unreadable, not a regular file, too large, damaged), and `saved` is left empty.
  static Status Load(SavedLocations* saved);

  // Reads the saved locations afresh, lets `change` change them and writes them, under a lock
  // of the settings' folder, so that saves made at once keep each other's changes; nothing is
  // written when `change` returns false. A file that cannot be read is never replaced.
  // `after`, when given, receives what is saved.
  static Status Change(const std::function<bool(SavedLocations&)>& change,
                       SavedLocations* after = nullptr);

  // The file they are kept in.
  static std::string File();

 private:
  // Reads what `store` holds; an error when its lists claim more than can be.
  static Status Read(QSettings& store, SavedLocations* saved);
  // Writes them into `store`, replacing what it held, and syncs it to the file.
  Status Write(QSettings& store) const;
};

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_SAVED_LOCATIONS_H_
