// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/catalog_columns.h"

#include "importers/binary_catalog.h"

#include "platform/text_encoding.h"
#include "platform/text_lines.h"

namespace lumvane {

std::string Unquote(std::string_view column) {
  if (column.size() >= 2 && column.front() == '"' && column.back() == '"') {
    column = column.substr(1, column.size() - 2);
  }
  return std::string(column);
}

void SplitColumns(std::string_view line, char separator, bool quotes_protect,
                  std::span<std::string> columns) {
  size_t position = 0;
  for (std::string& column : columns) {
    if (position >= line.size()) break;
    size_t end = position;
    bool quoted = false;
    while (end < line.size() && (quoted || line[end] != separator)) {
      if (quotes_protect && line[end] == '"') quoted = !quoted;
      ++end;
    }
    column = Unquote(line.substr(position, end - position));
    position = end + 1;
  }
}

Status ForEachCatalogLine(ImportRun& run,
                          const std::function<void(std::string_view)>& handle_line) {
  std::string bytes;
  if (Status status = ReadWholeCatalog(run, &bytes); !status.ok()) return status;
  if (LooksLikeUtf16WithoutMark(bytes)) {
    return Status::Error(StatusCode::kDamaged,
                         run.catalog_path() +
                             " looks like UTF-16 text without a byte-order mark, which cannot be "
                             "read: save it as UTF-8, or as UTF-16 with the mark");
  }
  const std::string text = DecodeText(bytes);
  const std::vector<std::string_view> lines = SplitLines(text);
  run.ExpectPictures(static_cast<int>(lines.size()));
  for (const std::string_view line : lines) {
    handle_line(line);
    if (run.StopRequested()) break;
  }
  return Status::Ok();
}

}  // namespace lumvane
