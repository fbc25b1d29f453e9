// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/gallery_catalog.h"

#include <set>

#include "importers/binary_catalog.h"
#include "platform/file_time.h"

namespace lumvane {
namespace {

constexpr int64_t kRecordSize = 88;  // the bytes of a record that are read

// A text whose length and position stand at `at` and `at + 4` of the record.
std::optional<std::string> TextOf(std::string_view bytes, int64_t at) {
  const auto length = Read_Quad(bytes, at), position = Read_Quad(bytes, at + 4);
  if (!length || !position) return std::nullopt;
  return TextAt(bytes, *position, *length);
}

// The picture of the record at `p`, and the position of the next record; false when the
// record points outside the file.
bool ReadRecord(std::string_view bytes, int64_t p, PictureInput* picture, int64_t* next) {
  const auto path = TextOf(bytes, p + 8), title = TextOf(bytes, p + 16);
  const auto comment_position = Read_Quad(bytes, p + 44);
  const auto length = Read_Quad(bytes, p + 80), position = Read_Quad(bytes, p + 84);
  if (!path || !title || !comment_position || !length || !position) return false;
  std::optional<std::string> comment = "";
  if (*comment_position >= 0) comment = TextOf(bytes, p + 40);
  if (!comment) return false;
  picture->source = *path;
  picture->title = *title;
  picture->comment = *comment;
  *next = *position + *length;
  return true;
}

}  // namespace

Status ReadGalleryCatalog(ImportRun& run) {
  std::string bytes;
  if (Status status = ReadWholeCatalog(run, &bytes); !status.ok()) return status;
  const int64_t size = static_cast<int64_t>(bytes.size());
  const auto count = Read_Quad(bytes, 200), head = Read_Quad(bytes, 252);
  if (!count) return DamagedCatalog(run, 200, 0);
  if (*count <= 0) return Status::Ok();
  const auto first = head ? Read_Quad(bytes, *head) : std::nullopt;
  if (!first) return DamagedCatalog(run, 252, 0);
  const bool count_fits = *count <= size / kRecordSize;
  std::set<int64_t> visited;
  int64_t p = *first;
  for (int pictures = 0; pictures < *count; ++pictures) {
    if (!count_fits && (p < 0 || p > size - kRecordSize)) break;  // the chain ends with the file
    const auto redirect = Read_Quad(bytes, p);
    if (!redirect) return DamagedCatalog(run, p, pictures);
    if (*redirect > 1) p = *redirect;
    PictureInput picture;
    int64_t next = 0;
    if (!visited.insert(p).second || !ReadRecord(bytes, p, &picture, &next)) {
      return DamagedCatalog(run, p, pictures);
    }
    if (const auto changed = FileModifiedLocal(run.Locate(picture.source))) {
      picture.picdate = FormatLongDate(*changed);
    }
    run.Process(picture);
    if (run.StopRequested()) break;
    p = next;
  }
  return Status::Ok();
}

}  // namespace lumvane
