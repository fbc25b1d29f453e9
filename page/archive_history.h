// SPDX-License-Identifier: GPL-3.0-or-later
// The earlier versions of an archive: each time a run, a master, an edit or a restore replaces
// an archive.htm, the page and catalog it replaces are kept in a numbered folder of
// DEST/.lumvane-history, so that nothing the user had is lost. The newest are kept, within a
// number and a size; the oldest beyond them go, and the caller names them.
#ifndef LUMVANE_PAGE_ARCHIVE_HISTORY_H_
#define LUMVANE_PAGE_ARCHIVE_HISTORY_H_

#include <cstdint>
#include <string>
#include <vector>

#include "platform/status.h"

namespace lumvane {

inline constexpr char kHistoryFolder[] = ".lumvane-history";
inline constexpr size_t kMostGenerations = 10;
inline constexpr uint64_t kMostHistoryBytes = uint64_t{1} << 30;

struct Generation {
  int number = 0;         // 1 for the first ever kept; never reused
  std::string replaced;   // when it was replaced, local time: "2026-12-09 13:05"
  std::string by;         // what replaced it: "scan", "catalog", "master", "edit", "restore"
  int pictures = 0;       // the pictures it holds
  std::string folder;     // where its archive.htm (and archive.txt) are
  bool made_now = false;  // KeepGeneration made it, rather than finding it kept already
};

// Keeps dest's archive.htm and archive.txt (and the editor's log), as they are now, as the next
// generation (hard links where the file system has them, else copies), whole or not at all. `by`
// and `pictures` are noted with it. When the newest generation holds them already (a writer was
// killed after keeping them), that one is `kept`: killed runs do not push out older versions.
// REQUIRES: the caller holds dest's DestinationLock; dest/archive.htm exists.
Status KeepGeneration(const std::string& dest, const std::string& by, int pictures,
                      Generation* kept);

// Removes a generation KeepGeneration made (for a commit that then failed); one it found kept
// already stays.
void ForgetGeneration(const Generation& generation);

// Removes the oldest generations while there are more than kMostGenerations or they take more
// than kMostHistoryBytes; the newest always stays. Returns those removed, oldest first.
// REQUIRES: the caller holds dest's DestinationLock.
std::vector<Generation> PruneGenerations(const std::string& dest);

// The generations of dest, newest first. A folder that is not a whole generation is left out.
// `problem`, when given, is set to an error when the history is there but cannot be read.
std::vector<Generation> ListGenerations(const std::string& dest, Status* problem = nullptr);

// "version 3 (14 pictures, replaced by master on 2026-12-09 13:05)".
std::string DescribeGeneration(const Generation& generation);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_ARCHIVE_HISTORY_H_
