// SPDX-License-Identifier: GPL-3.0-or-later
// The page and the catalog of an archive are put in place by two renames, the catalog first.
// A journal written before them names the two temporaries, so that the next writer of the
// folder can finish the pair when a run was killed between the renames: both files are
// complete and synced by then, so finishing is never worse than the run that was ended.
#ifndef LUMVANE_PAGE_COMMIT_JOURNAL_H_
#define LUMVANE_PAGE_COMMIT_JOURNAL_H_

#include <string>

#include "platform/status.h"

namespace lumvane {

struct CommitPlan {
  std::string catalog_temp, catalog_final;  // full paths
  std::string page_temp, page_final;
};

class ReplacingFile;

// Puts a finished catalog and page in place as `catalog_final` and dest/archive.htm, the
// catalog first, under the journal; should the page fail, the earlier catalog comes back, so
// that the two files always belong together.
// REQUIRES: both files are Finished; the caller holds dest's DestinationLock.
Status CommitPair(const std::string& dest, ReplacingFile& catalog, const std::string& catalog_final,
                  ReplacingFile& page);

// Renames the two temporaries of `plan` (the editor's backups) to their names under a journal
// of their own, the catalog first, so that the next writer finishes a pair a kill cut in two;
// should the page fail, the earlier catalog comes back.
// REQUIRES: the caller holds dest's DestinationLock.
Status RenameBackupPair(const std::string& dest, const CommitPlan& plan);

// Finishes a commit, or a backup pair, that a killed run left half done: the page renamed into
// place when the catalog already was; nothing when neither was. Removes the journal once the pair
// is whole; a rename that fails keeps it and is an error. REQUIRES: the caller holds the folder's
// DestinationLock.
Status FinishInterruptedCommit(const std::string& dest);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_COMMIT_JOURNAL_H_
