// SPDX-License-Identifier: GPL-3.0-or-later
// Where a catalog made on Windows says a picture is: on a drive ("D:") or on a volume named by
// its label, and the path within it. On this machine that drive or volume is some folder, which
// the user names once (a saved location) and every run then reads the pictures from.
#ifndef LUMVANE_LOCATIONS_CATALOG_PLACE_H_
#define LUMVANE_LOCATIONS_CATALOG_PLACE_H_

#include <optional>
#include <string>

namespace lumvane {

struct CatalogPlace {
  enum class Kind { kDrive, kVolume };
  Kind kind = Kind::kDrive;
  std::string key;     // the drive letter in upper case ("D"), or the volume's label
  std::string within;  // the path below the drive's or volume's root, "\" separated

  // "D:" or the label: how messages name the drive or volume.
  std::string Name() const { return kind == Kind::kDrive ? key + ":" : key; }
  // The picture as the catalog names it: "D:\Photos\a.jpg", "OLD CD:\Photos\a.jpg".
  std::string Text() const { return key + ":\\" + within; }
  bool SameRoot(const CatalogPlace& other) const { return kind == other.kind && key == other.key; }
};

// The place of a catalog path "X:\..." or "X:/..."; nullopt for every other path.
std::optional<CatalogPlace> DrivePlaceOf(const std::string& path);

// Why a picture of `place` was passed over when its drive or volume has no folder on this
// machine: "drive D: not available", "volume OLD CD not available".
std::string NotAvailableReason(const CatalogPlace& place);

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_CATALOG_PLACE_H_
