// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/catalog_place.h"

#include <cctype>

namespace lumvane {

std::optional<CatalogPlace> DrivePlaceOf(const std::string& path) {
  if (path.size() < 4 || path[1] != ':' || (path[2] != '\\' && path[2] != '/') ||
      !std::isalpha(static_cast<unsigned char>(path[0]))) {
    return std::nullopt;
  }
  CatalogPlace place;
  place.key = std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(path[0]))));
  place.within = path.substr(3);
  for (char& c : place.within) {
    if (c == '/') c = '\\';
  }
  return place;
}

std::string NotAvailableReason(const CatalogPlace& place) {
  return (place.kind == CatalogPlace::Kind::kDrive ? "drive " : "volume ") + place.Name() +
         " not available";
}

}  // namespace lumvane
