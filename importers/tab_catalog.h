// SPDX-License-Identifier: GPL-3.0-or-later
// The tab-delimited text catalog (.txt), the layout of an archive's own archive.txt.
#ifndef LUMVANE_IMPORTERS_TAB_CATALOG_H_
#define LUMVANE_IMPORTERS_TAB_CATALOG_H_

#include <array>
#include <string>
#include <string_view>

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// The first eight TAB-separated columns of `line`, each unquoted; missing ones are empty and
// columns after the eighth are ignored.
std::array<std::string, 8> SplitTabLine(std::string_view line);

// Hands every line whose first column is not empty to the run (columns 1 to 7: source, title,
// subject, category, comment, author, date). A first line whose first column is "SourceFile"
// is the header. Stops after the picture in hand when asked.
Status ReadTabCatalog(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_TAB_CATALOG_H_
