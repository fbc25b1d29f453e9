// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the ThumbsPlus V3 database reader with arbitrary database files.
#include "importers/thumbsplus_database.h"
#include "tests/fuzz/catalog_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::CatalogPath(".tDB");
  if (fuzzing::WriteCatalog(data, size, path)) {
    fuzzing::ReadWith(lumvane::ReadThumbsPlusDatabase, path);
  }
  return 0;
}
