// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/tab_catalog.h"

#include "importers/catalog_columns.h"

namespace lumvane {

std::array<std::string, 8> SplitTabLine(std::string_view line) {
  std::array<std::string, 8> columns;
  SplitColumns(line, '	', /*quotes_protect=*/false, columns);
  return columns;
}

Status ReadTabCatalog(ImportRun& run) {
  bool first_line = true;
  return ForEachCatalogLine(run, [&](std::string_view line) {
    std::array<std::string, 8> columns = SplitTabLine(line);
    if (first_line && columns[0] == "SourceFile") columns[0].clear();
    first_line = false;
    if (columns[0].empty()) return;
    run.Process(
        {columns[0], columns[1], columns[2], columns[3], columns[4], columns[5], columns[6]});
  });
}

}  // namespace lumvane
