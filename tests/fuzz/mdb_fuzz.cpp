// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the reading of arbitrary .mdb files through libmdb, in this process: the work the
// reader's child does, whose messages go nowhere here.
#include <fcntl.h>
#include <unistd.h>

#include "importers/jet_table.h"
#include "tests/fuzz/catalog_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzzing::CatalogPath(".mdb");
  static const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
  if (!fuzzing::WriteCatalog(data, size, path)) return 0;
  lumvane::ReadJetTable(nowhere, path, "GA_PicInfo",
                        {"Source", "Name", "DATA1", "DATA2", "Description", "MEMO1", "DateCreated"},
                        65536);  // no value of a file of at most 64 KB is longer
  return 0;
}
