// SPDX-License-Identifier: GPL-3.0-or-later
// The V3 database reader on a large database (50,000 files in 500 folders on 3 volumes,
// 200,000 links, 5,000 keywords), against reading the file's bytes once in the same run.
// Usage: tdb_bench            (writes the database, runs both, prints the figures)
//        tdb_bench read|floor DATABASE   (one measurement)
#include <filesystem>
#include <random>

#include "bench/catalog_bench.h"
#include "importers/thumbsplus_database.h"
#include "tests/support/thumbsplus_database.h"

namespace {

testing_support::Tdb LargeDatabase() {
  std::mt19937 random(7);
  testing_support::Tdb db;
  for (uint32_t v = 1; v <= 3; ++v) db.volumes.push_back({v, "VOLUME " + std::to_string(v)});
  for (uint32_t f = 1; f <= 500; ++f) {
    db.folders.push_back(
        {f, 1 + f % 3,
         "Pictures\\" + std::to_string(1990 + f % 20) + "\\Roll " + std::to_string(f)});
  }
  for (uint32_t n = 1; n <= 50000; ++n) {
    db.files.push_back({n, 1 + n % 500, "IMG_" + std::to_string(n) + ".JPG"});
  }
  for (uint32_t k = 1; k <= 5000; ++k) db.keywords.push_back({k, "keyword " + std::to_string(k)});
  for (int l = 0; l < 200000; ++l) {
    db.links.push_back(
        {1 + static_cast<uint32_t>(random() % 50000), 1 + static_cast<uint32_t>(random() % 5000)});
  }
  return db;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) {
    return catalog_bench::Child(argv[1], argv[2], lumvane::ReadThumbsPlusDatabase, 50000);
  }
  return catalog_bench::Compare(LargeDatabase().Bytes(), ".tDB",
                                "V3 database, 50,000 files, 200,000 links");
}
