// SPDX-License-Identifier: GPL-3.0-or-later
// The ThumbsPlus V3 database (.tDB): volumes, folders, files, keywords and the links between
// files and keywords, found through five anchors at fixed positions of the file.
#ifndef LUMVANE_IMPORTERS_THUMBSPLUS_DATABASE_H_
#define LUMVANE_IMPORTERS_THUMBSPLUS_DATABASE_H_

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// Why a file of the database is passed over when the database has no folder for it.
inline constexpr char kNoFolderReason[] = "the catalog names no folder for it";

// Hands every file of the database to the run in file-table order: its path on the volume's
// folder (run.LabelToDrive of its label; the first volume of a label only), its keywords each
// after one blank in link order, its date from that path. Stops after the picture in hand when
// asked. A position, count or page link outside the file, or a page chain that comes back to
// a page it passed, ends the reader: the pictures before stay, and the error names the
// catalog and the byte offset. A table whose count is more than the file could hold ends
// with its pages.
Status ReadThumbsPlusDatabase(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_THUMBSPLUS_DATABASE_H_
