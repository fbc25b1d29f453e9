// SPDX-License-Identifier: GPL-3.0-or-later
// The EasyPhoto and Adobe Gallery catalog (.GAL): a chain of picture records, each pointing
// to its image path, title and comment; all numbers BE32 through Read_Quad.
#ifndef LUMVANE_IMPORTERS_GALLERY_CATALOG_H_
#define LUMVANE_IMPORTERS_GALLERY_CATALOG_H_

#include "importers/import_run.h"
#include "platform/status.h"

namespace lumvane {

// Hands the pictures of the chain to the run, as many as the header counts, the date of each
// from the file at its path; stops after the picture in hand when asked. A position or length
// outside the file, or a chain that comes back to a record it passed, ends the reader: the
// pictures before stay, and the error names the catalog and the byte offset. The chain simply
// ends at the end of the file when the header counts more records than the file could hold.
Status ReadGalleryCatalog(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_GALLERY_CATALOG_H_
