// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the Gallery catalog reader with arbitrary gallery files.
#include "importers/gallery_catalog.h"
#include "tests/fuzz/catalog_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::CatalogPath(".GAL");
  if (fuzzing::WriteCatalog(data, size, path)) fuzzing::ReadWith(lumvane::ReadGalleryCatalog, path);
  return 0;
}
