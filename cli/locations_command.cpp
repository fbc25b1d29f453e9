// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/locations_command.h"

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "locations/saved_locations.h"

namespace lumvane {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "lumvane: %s\n", message.c_str());
  return 1;
}

bool IsFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(path, error);
}

void PrintLocation(const std::string& what, const std::string& folder) {
  std::printf("%-24s %s%s\n", what.c_str(), folder.c_str(),
              IsFolder(folder) ? "" : "  (not there)");
}

// Removes the drive or volume `name` names; false when none is saved.
bool Forget(SavedLocations& saved, std::string name) {
  bool forgotten = saved.volumes.erase(name) > 0;
  if (name.size() == 2 && name[1] == ':') name.pop_back();
  if (name.size() == 1 && std::isalpha(static_cast<unsigned char>(name[0]))) {
    forgotten = saved.drives.erase(static_cast<char>(std::toupper(name[0]))) > 0 || forgotten;
  }
  return forgotten;
}

// Makes the changes of --drive, --volume and --forget to `saved`. False, with the name in
// `not_saved`, for a --forget that names nothing saved: then nothing is to be saved.
bool MakeChanges(const CliOptions& options, SavedLocations& saved, std::string* not_saved) {
  for (const auto& [letter, folder] : options.drives) saved.drives[letter] = folder;
  for (const auto& [label, folder] : options.volumes) saved.volumes[label] = folder;
  for (const std::string& name : options.forget) {
    if (!Forget(saved, name)) {
      *not_saved = name;
      return false;
    }
  }
  return true;
}

}  // namespace

int RunLocationsCommand(const CliOptions& options) {
  for (const auto& [letter, folder] : options.drives) {
    if (!IsFolder(folder)) return Fail("the folder " + folder + " does not exist");
  }
  for (const auto& [label, folder] : options.volumes) {
    if (!IsFolder(folder)) return Fail("the folder " + folder + " does not exist");
  }
  SavedLocations saved;
  const bool changes =
      !options.drives.empty() || !options.volumes.empty() || !options.forget.empty();
  std::string not_saved;  // a --forget that names nothing saved
  const Status status =
      !changes
          ? SavedLocations::Load(&saved)
          : SavedLocations::Change(
                [&](SavedLocations& changed) { return MakeChanges(options, changed, &not_saved); },
                &saved);
  if (!status.ok()) return Fail(status.message());
  if (!not_saved.empty()) return Fail("no location is saved for " + not_saved);
  if (saved.drives.empty() && saved.volumes.empty()) {
    std::printf("No locations are saved (%s).\n", SavedLocations::File().c_str());
    return 0;
  }
  for (const auto& [letter, folder] : saved.drives) {
    PrintLocation(std::string("drive ") + letter + ":", folder);
  }
  for (const auto& [label, folder] : saved.volumes) PrintLocation("volume " + label, folder);
  return 0;
}

}  // namespace lumvane
