// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes reading an archive page as the master and the editor do: its records, their sources
// from an archive.txt, the check that they stay inside the archive, and the encoding round
// trip of a field.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "page/archive_page.h"
#include "pictures/catalog_line.h"
#include "pictures/field_encoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<lumvane::PictureRecord> records;
  for (const auto& values : lumvane::ReadCatalogLines(text)) {
    records.push_back(lumvane::DecodeRecord(values));
    lumvane::StaysInsideArchive(records.back().thumb);
  }
  if (lumvane::SourcesOf(records, text).size() != records.size()) __builtin_trap();
  lumvane::IsArchivePage(text);
  if (lumvane::DecodeField(lumvane::EncodeField(text)) != text) __builtin_trap();
  return 0;
}
