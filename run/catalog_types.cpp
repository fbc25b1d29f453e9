// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/catalog_types.h"

namespace lumvane {

std::string CatalogTypeOf(const std::string& file_name) {
  for (const CatalogType& type : kCatalogTypes) {
    if (type.is_catalog && file_name.find(type.marker) != std::string::npos) return type.marker;
  }
  return "";
}

std::string CatalogTypeCaption(const std::string& file_name) {
  for (const CatalogType& type : kCatalogTypes) {
    if (file_name.find(type.marker) != std::string::npos) return type.caption;
  }
  return kUnsupportedTypeCaption;
}

}  // namespace lumvane
