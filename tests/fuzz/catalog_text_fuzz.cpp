// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the text catalog readers with arbitrary catalog files: decoding, line and column
// splitting and the readers themselves.
#include "importers/tab_catalog.h"
#include "importers/thumbsplus_export.h"
#include "tests/fuzz/catalog_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::CatalogPath(".txt");
  if (!fuzzing::WriteCatalog(data, size, path)) return 0;
  fuzzing::ReadWith(lumvane::ReadTabCatalog, path);
  fuzzing::ReadWith(lumvane::ReadThumbsPlusExport, path);
  return 0;
}
