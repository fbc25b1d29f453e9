// SPDX-License-Identifier: GPL-3.0-or-later
// The archives of the tests: written through the program's writer, read back record by record.
#ifndef LUMVANE_TESTS_SUPPORT_ARCHIVE_H_
#define LUMVANE_TESTS_SUPPORT_ARCHIVE_H_

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "page/archive_writer.h"
#include "pictures/catalog_line.h"
#include "tests/support/temp_dir.h"

namespace testing_support {

// The records of the archive in `folder` (or of the page at `folder`/`page`), decoded.
inline std::vector<lumvane::PictureRecord> RecordsIn(const std::string& folder,
                                                     const std::string& page = "archive.htm") {
  std::vector<lumvane::PictureRecord> records;
  for (const auto& values : lumvane::ReadCatalogLines(ReadAll(folder + "/" + page))) {
    records.push_back(lumvane::DecodeRecord(values));
  }
  return records;
}

// A record of the picture `title`.jpg in /photos, whose thumbnail is `thumb`.
inline lumvane::PictureRecord Record(const std::string& thumb, const std::string& title) {
  lumvane::PictureRecord record;
  record.thumb = thumb;
  record.path = "/photos";
  record.source = title + ".jpg";
  record.title = title;
  return record;
}

// Writes an archive of `records` into `folder`, as a run would.
inline void WriteArchive(const std::string& folder,
                         const std::vector<lumvane::PictureRecord>& records) {
  lumvane::ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(folder, false).ok());
  for (const auto& record : records) ASSERT_TRUE(writer.Add(record, "x").ok());
  ASSERT_TRUE(writer.Commit(false).ok());
}

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_ARCHIVE_H_
