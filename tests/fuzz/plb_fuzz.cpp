// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the Photo Organizer library reader with arbitrary library files.
#include "importers/photo_organizer_library.h"
#include "tests/fuzz/catalog_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::CatalogPath(".plb");
  if (fuzzing::WriteCatalog(data, size, path)) {
    fuzzing::ReadWith(lumvane::ReadPhotoOrganizerLibrary, path);
  }
  return 0;
}
