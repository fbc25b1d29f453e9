// Fuzzes the text catalog readers with arbitrary catalog files: decoding, line and column
// splitting and the readers themselves, through a run that records the pictures handed over.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "importers/tab_catalog.h"
#include "importers/thumbsplus_export.h"
#include "platform/text_encoding.h"
#include "platform/text_lines.h"
#include "tests/support/recording_run.h"

namespace {

// One catalog file per fuzzing process, rewritten for every input.
const std::string& CatalogPath() {
  static const std::string path = "/tmp/lumvane-fuzz-catalog-" + std::to_string(getpid()) + ".txt";
  return path;
}

void ReadWith(lumvane::Status (*reader)(lumvane::ImportRun&)) {
  testing_support::RecordingRun run;
  if (!run.OpenCatalog(CatalogPath())) __builtin_trap();
  if (!reader(run).ok()) __builtin_trap();
  for (const auto& picture : run.pictures) {
    if (!lumvane::IsValidUtf8(picture.source) || !lumvane::IsValidUtf8(picture.title)) {
      __builtin_trap();  // every text handed on is UTF-8
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* file = std::fopen(CatalogPath().c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  ReadWith(lumvane::ReadTabCatalog);
  ReadWith(lumvane::ReadThumbsPlusExport);
  return 0;
}
