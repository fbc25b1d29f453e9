// SPDX-License-Identifier: GPL-3.0-or-later
// The comma-separated export of a ThumbsPlus V4 database (.csv).
#ifndef LUMVANE_IMPORTERS_THUMBSPLUS_EXPORT_H_
#define LUMVANE_IMPORTERS_THUMBSPLUS_EXPORT_H_

#include <array>
#include <string>
#include <string_view>

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// The first 24 comma-separated columns of `line`; a comma inside a double-quoted stretch does
// not end a column. Each column is unquoted; missing ones are empty, further ones ignored.
std::array<std::string, 24> SplitExportLine(std::string_view line);

// Hands every picture line to the run: the source is the volume of column 1 (label), folder
// column 6 and file name column 22; subject column 24, comment column 23, date the file's.
// The first line whose first column is "Label" is the header. Lines without label, folder and
// name are skipped. Stops after the picture in hand when asked.
Status ReadThumbsPlusExport(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_THUMBSPLUS_EXPORT_H_
