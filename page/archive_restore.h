// SPDX-License-Identifier: GPL-3.0-or-later
// Brings back an earlier version of an archive from its history. The archive it replaces is
// kept as a generation of its own first, so that a restore can itself be undone.
#ifndef LUMVANE_PAGE_ARCHIVE_RESTORE_H_
#define LUMVANE_PAGE_ARCHIVE_RESTORE_H_

#include <string>
#include <vector>

#include "page/archive_history.h"
#include "platform/status.h"

namespace lumvane {

struct Restored {
  Generation restored;              // the version brought back
  Generation kept;                  // the archive it replaced (number 0: there was none)
  std::vector<Generation> dropped;  // the oldest generations that went to make room
};

// Puts version `number` of dest's history in place as archive.htm and archive.txt, both or
// neither, under dest's lock. Errors: no such version, the folder is being written, or it
// cannot be written.
Status RestoreGeneration(const std::string& dest, int number, Restored* result);

// What a restore did, for the user: "Restored version 2 (...) into DEST/archive.htm; the
// archive it replaced is kept as version 5", and a line for each version that went.
std::string RestoreSummary(const Restored& restored, const std::string& dest);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_ARCHIVE_RESTORE_H_
