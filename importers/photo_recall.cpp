// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/photo_recall.h"

#include <cstdio>
#include <vector>

#include "importers/binary_catalog.h"
#include "importers/jet_table.h"
#include "platform/file_time.h"

namespace lumvane {
namespace {

enum Column { kSource, kName, kData1, kData2, kDescription, kMemo1, kDateCreated };
const std::vector<std::string> kColumns = {"Source",      "Name",  "DATA1",      "DATA2",
                                           "Description", "MEMO1", "DateCreated"};

std::string Text(const JetTable::Cell& cell) {
  return cell.null ? "" : cell.text;
}

PictureInput PictureOf(ImportRun& run, const std::vector<JetTable::Cell>& row) {
  PictureInput picture;
  picture.source = row[kSource].text;
  picture.title = Text(row[kName]);
  picture.subject = Text(row[kData1]);
  picture.category = Text(row[kData2]);
  picture.comment = Text(row[kDescription]);
  picture.author = Text(row[kMemo1]);
  if (!row[kDateCreated].null) {
    picture.picdate = PhotoRecallDate(row[kDateCreated].text);
  } else if (const auto changed = FileModifiedLocal(run.Locate(picture.source))) {
    picture.picdate = FormatLongDate(*changed);
  }
  return picture;
}

Status NotReadable(const ImportRun& run, const std::string& reason) {
  return Status::Error(StatusCode::kDamaged, run.catalog_path() +
                                                 " is not a database that can be read" +
                                                 (reason.empty() ? "" : ": " + reason));
}

}  // namespace

std::string PhotoRecallDate(const std::string& value) {
  LocalDateTime date;
  char rest = 0;
  const int fields =
      std::sscanf(value.c_str(), "%4d-%2d-%2d%c", &date.year, &date.month, &date.day, &rest);
  const bool whole = fields == 3 || (fields == 4 && rest == ' ');
  if (!whole || date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return value;
  return FormatLongDate(date);
}

Status ReadPhotoRecall(ImportRun& run) {
  JetTable table;
  const Status opened = table.Open(run.catalog_path(), "GA_PicInfo", kColumns);
  switch (opened.code()) {
    case StatusCode::kOk:
      break;
    case StatusCode::kNotFound:
      return Status::Error(StatusCode::kDamaged,
                           run.catalog_path() + " has no pictures table (GA_PicInfo)");
    case StatusCode::kInvalidInput:
      return Status::Error(
          StatusCode::kDamaged,
          run.catalog_path() + ": the table GA_PicInfo has no column \"" + opened.message() + "\"");
    default:
      return NotReadable(run, opened.message());
  }
  run.ExpectPictures(static_cast<int>(table.row_count()));
  std::vector<JetTable::Cell> row;
  int pictures = 0;
  while (true) {
    const StatusOr<bool> next = table.Next(&row);
    if (!next.ok())
      return NotReadable(run, next.status().message() + "; " + PicturesRead(pictures));
    if (!*next) return Status::Ok();
    if (row[kSource].null) continue;
    run.Process(PictureOf(run, row));
    ++pictures;
    if (run.StopRequested()) return Status::Ok();
  }
}

}  // namespace lumvane
