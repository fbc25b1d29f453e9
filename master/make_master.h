// SPDX-License-Identifier: GPL-3.0-or-later
// The master archive: one page over the archives in the immediate subfolders of the
// destination. The subfolders' files are only read, never changed.
#ifndef LUMVANE_MASTER_MAKE_MASTER_H_
#define LUMVANE_MASTER_MAKE_MASTER_H_

#include <string>

#include "importers/import_run.h"
#include "pictures/picture_record.h"
#include "platform/status.h"

namespace lumvane {

// Hands every whole record of every visible subfolder's archive.htm to the run, subfolders in
// file-manager order, with the subfolder's name and "/" put in front of `thumb` and `file`.
// Each archive is one step; a stop is honoured between archives. Damaged records are passed
// over; an archive that cannot be read is skipped, the others merged, and the returned error
// names every skipped archive with the system's reason. A folder without subfolder archives is
// an error ("No archives were found in the subfolders of DEST").
Status MakeMaster(ImportRun& run);

}  // namespace lumvane

#endif  // LUMVANE_MASTER_MAKE_MASTER_H_
