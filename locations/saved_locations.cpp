// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/saved_locations.h"

#include <chrono>
#include <filesystem>
#include <system_error>

#include "platform/destination_lock.h"
#include "settings/settings_file.h"

namespace lumvane {

Status SavedLocations::Load(SavedLocations* saved) {
  *saved = SavedLocations();
  std::unique_ptr<QSettings> settings;
  if (Status status = OpenSettings(/*for_writing=*/false, &settings); !status.ok()) return status;
  return Read(*settings, saved);
}

Status SavedLocations::Read(QSettings& store, SavedLocations* saved) {
  // Drive letters and labels are array values, not keys: a label may hold any character.
  for (const char* group : {"drives", "volumes"}) {
    const int count = store.beginReadArray(group);
    if (count < 0 || count > kMostSavedLocations) {
      *saved = SavedLocations();
      return Status::Error(StatusCode::kDamaged,
                           "The settings file " + File() + " is damaged: it claims " +
                               std::to_string(count) + " " + group + "; mend it or move it away");
    }
    for (int i = 0; i < count; ++i) {
      store.setArrayIndex(i);
      const std::string name = store.value("name").toString().toStdString();
      const std::string folder = store.value("folder").toString().toStdString();
      if (name.empty() || folder.empty()) continue;
      if (group[0] == 'v') saved->volumes[name] = folder;
      if (group[0] == 'd' && name.size() == 1) saved->drives[name[0]] = folder;
    }
    store.endArray();
  }
  return Status::Ok();
}

Status SavedLocations::Change(const std::function<bool(SavedLocations&)>& change,
                              SavedLocations* after) {
  const std::string folder = std::filesystem::path(File()).parent_path().string();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  DestinationLock lock;
  if (Status locked = lock.Acquire(folder, std::chrono::seconds(5)); !locked.ok()) return locked;
  std::unique_ptr<QSettings> settings;  // read and written through one opening of the file
  if (Status opened = OpenSettings(/*for_writing=*/true, &settings); !opened.ok()) return opened;
  SavedLocations saved;
  if (Status read = Read(*settings, &saved); !read.ok()) return read;
  if (!change(saved)) return Status::Ok();
  if (Status written = saved.Write(*settings); !written.ok()) return written;
  if (after != nullptr) *after = saved;
  return Status::Ok();
}

Status SavedLocations::Write(QSettings& store) const {
  const auto write = [&store](const char* group, const auto& entries, auto name_of) {
    store.remove(group);
    store.beginWriteArray(group, static_cast<int>(entries.size()));
    int i = 0;
    for (const auto& [key, folder] : entries) {
      store.setArrayIndex(i++);
      store.setValue("name", QString::fromStdString(name_of(key)));
      store.setValue("folder", QString::fromStdString(folder));
    }
    store.endArray();
  };
  write("drives", drives, [](char letter) { return std::string(1, letter); });
  write("volumes", volumes, [](const std::string& label) { return label; });
  store.sync();
  if (store.status() != QSettings::NoError) {
    return Status::Error(StatusCode::kIoError,
                         "Cannot save the locations in " + store.fileName().toStdString());
  }
  return Status::Ok();
}

std::string SavedLocations::File() {
  return SettingsFilePath();
}

}  // namespace lumvane
