#include "settings/saved_locations.h"

#include "settings/settings_file.h"

namespace lumvane {

SavedLocations SavedLocations::Load() {
  const auto settings = OpenSettings();
  QSettings& store = *settings;
  SavedLocations saved;
  // Drive letters and labels are array values, not keys: a label may hold any character.
  for (const char* group : {"drives", "volumes"}) {
    const int count = store.beginReadArray(group);
    for (int i = 0; i < count; ++i) {
      store.setArrayIndex(i);
      const std::string name = store.value("name").toString().toStdString();
      const std::string folder = store.value("folder").toString().toStdString();
      if (name.empty() || folder.empty()) continue;
      if (group[0] == 'v') saved.volumes[name] = folder;
      if (group[0] == 'd' && name.size() == 1) saved.drives[name[0]] = folder;
    }
    store.endArray();
  }
  return saved;
}

Status SavedLocations::Save() const {
  const auto settings = OpenSettings();
  QSettings& store = *settings;
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
    return Status::Error("Cannot save the locations in " + store.fileName().toStdString());
  }
  return Status::Ok();
}

std::string SavedLocations::File() {
  return OpenSettings()->fileName().toStdString();
}

}  // namespace lumvane
