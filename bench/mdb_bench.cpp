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
  using Jet = testing_support::JetDatabase;
  Jet::Table table{"GA_PicInfo",
                   {{"ID", Jet::Type::kLong},
                    {"Source", Jet::Type::kText},
                    {"Name", Jet::Type::kText},
                    {"DATA1", Jet::Type::kText},
                    {"DATA2", Jet::Type::kText},
                    {"Description", Jet::Type::kMemo},
                    {"MEMO1", Jet::Type::kMemo},
                    {"DateCreated", Jet::Type::kDate}},
                   {}};
  for (int n = 0; n < kRows; ++n) {
    const std::string id = std::to_string(n);
    table.rows.push_back({id,
                          "D:\\Pictures\\Roll " + std::to_string(n / 100) + "\\IMG_" + id + ".JPG",
                          "Harbour lights " + id, "harbour boats evening", "Travel",
                          "Taken from the old pier at dusk, picture " + id, "Ann Smith",
                          std::to_string(36526 + n % 3000)});
  }
  return Jet(4).Add(std::move(table)).Bytes();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3) return catalog_bench::Child(argv[1], argv[2], lumvane::ReadPhotoRecall, kRows);
  const std::string path = (std::filesystem::temp_directory_path() /
                            ("lumvane-bench-" + std::to_string(getpid()) + ".mdb"))
                               .string();
  std::ofstream(path, std::ios::binary) << LargeDatabase();
  double floor_ms = 0, floor_mib = 0, read_ms = 0, read_mib = 0;
  const bool measured =
      catalog_bench::MeasureBoth(path, &floor_ms, &floor_mib, &read_ms, &read_mib);
  if (measured) {
    std::printf(
        "PhotoRecall database, Jet 4, 50,000 rows (%.1f MB): reading its bytes %.0f ms, %.0f MiB; "
        "the reader %.0f ms (%.1fx), %.0f MiB\n",
        std::filesystem::file_size(path) / 1e6, floor_ms, floor_mib, read_ms, read_ms / floor_ms,
        read_mib);
  }
  std::filesystem::remove(path);
  if (!measured) std::fprintf(stderr, "mdb_bench: a run failed\n");
  return measured ? 0 : 1;
}
