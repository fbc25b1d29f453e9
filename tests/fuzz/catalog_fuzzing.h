// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the catalog fuzz targets: the input becomes a catalog file, read by a reader
// through a run that records the pictures handed over.
#ifndef LUMVANE_TESTS_FUZZ_CATALOG_FUZZING_H_
#define LUMVANE_TESTS_FUZZ_CATALOG_FUZZING_H_

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/text_encoding.h"
#include "tests/support/recording_run.h"

namespace fuzzing {

// Writes the input as this process's catalog file; false when it cannot.
inline bool WriteCatalog(const uint8_t* data, size_t size, const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  return true;
}

// Reads the catalog at `path` with `reader`; traps when a text handed on is not UTF-8.
inline void ReadWith(lumvane::Status (*reader)(lumvane::ImportRun&), const std::string& path) {
  testing_support::RecordingRun run;
  if (!run.OpenCatalog(path)) __builtin_trap();
  reader(run);
  for (const auto& picture : run.pictures) {
    for (const std::string* text : {&picture.source, &picture.title, &picture.subject,
                                    &picture.category, &picture.comment, &picture.author}) {
      if (!lumvane::IsValidUtf8(*text)) __builtin_trap();
    }
  }
}

inline std::string CatalogPath(const char* type) {
  return "/tmp/lumvane-fuzz-catalog-" + std::to_string(getpid()) + type;
}

}  // namespace fuzzing

#endif  // LUMVANE_TESTS_FUZZ_CATALOG_FUZZING_H_
