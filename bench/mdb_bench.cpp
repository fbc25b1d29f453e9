// SPDX-License-Identifier: GPL-3.0-or-later
// The PhotoRecall reader on a Jet 4 database of 50,000 rows, against reading the file's bytes
// once in the same run. The reader's peak memory is the larger of its two processes.
// Usage: mdb_bench            (writes the database, runs both, prints the figures)
//        mdb_bench read|floor DATABASE   (one measurement)
#include <filesystem>

#include "bench/catalog_bench.h"
#include "importers/photo_recall.h"
#include "tests/support/jet_database.h"

namespace {

constexpr int kRows = 50000;

std::string LargeDatabase() {
  std::vector<testing_support::JetDatabase::Row> rows;
  for (int n = 0; n < kRows; ++n) {
    const std::string id = std::to_string(n);
    rows.push_back({id, "D:\\Pictures\\Roll " + std::to_string(n / 100) + "\\IMG_" + id + ".JPG",
                    "Harbour lights " + id, "harbour boats evening", "Travel",
                    "Taken from the old pier at dusk, picture " + id, "Ann Smith",
                    std::to_string(36526 + n % 3000)});
  }
  return testing_support::JetDatabase(4)
      .Add(testing_support::PicInfoTable(std::move(rows)))
      .Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) return catalog_bench::Child(argv[1], argv[2], lumvane::ReadPhotoRecall, kRows);
  return catalog_bench::Compare(LargeDatabase(), ".mdb",
                                "PhotoRecall database, Jet 4, 50,000 rows");
}
