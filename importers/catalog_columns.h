// SPDX-License-Identifier: GPL-3.0-or-later
// Cutting a catalog line into columns, shared by the text catalog readers.
#ifndef LUMVANE_IMPORTERS_CATALOG_COLUMNS_H_
#define LUMVANE_IMPORTERS_CATALOG_COLUMNS_H_

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// `column` without its first and last character when both are a double quote; a column of
// one double quote is kept. Doubled quotes inside stay as they are.
std::string Unquote(std::string_view column);

// Cuts `line` into columns.size() columns at `separator`, each unquoted; missing columns are
// empty and columns past the last are ignored. With `quotes_protect`, a separator inside a
// double-quoted stretch does not end a column.
void SplitColumns(std::string_view line, char separator, bool quotes_protect,
                  std::span<std::string> columns);

// Reads the run's catalog (UTF-8 when valid, else Windows-1252) and calls `handle_line` for
// each line, in order, until the end or until the run is asked to stop (checked after every
// line, so the picture in hand is always completed). An error when the catalog cannot be read.
Status ForEachCatalogLine(ImportRun& run, const std::function<void(std::string_view)>& handle_line);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_CATALOG_COLUMNS_H_
