// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/archive_restore.h"

#include <algorithm>
#include <chrono>

#include "page/archive_page.h"
#include "page/archive_writer.h"
#include "page/commit_journal.h"
#include "page/edit_log.h"
#include "pictures/catalog_line.h"
#include "platform/destination_lock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "platform/temporary_files.h"

namespace lumvane {
namespace {

// Starts `file` as dest/`name` holding the bytes of `from`; a version without a catalog
// gets one of no rows.
Status Prepare(const std::string& from, ReplacingFile& file, const std::string& final_path,
               bool is_catalog) {
  std::string bytes;
  if (is_catalog && !PathExists(from)) {
    bytes = TabCatalogHeader() + "\r\n";
  } else if (Status read = ReadArchiveFile(from, &bytes); !read.ok()) {
    return read.Prefixed("Cannot read " + from + ": ");
  }
  if (Status status = file.Open(final_path); !status.ok()) return status;
  file.Write(bytes);
  return file.Finish();
}

}  // namespace

Status RestoreGeneration(const std::string& dest, int number, Restored* result) {
  DestinationLock lock;
  if (Status locked = lock.Acquire(dest, std::chrono::seconds(2)); !locked.ok()) return locked;
  if (Status finished = FinishInterruptedCommit(dest); !finished.ok()) return finished;
  RemoveLeftoverTemporaries(dest);
  const std::vector<Generation> all = ListGenerations(dest);
  const auto found = std::find_if(all.begin(), all.end(),
                                  [number](const Generation& g) { return g.number == number; });
  if (found == all.end()) {
    return Status::Error(StatusCode::kNotFound, "The archive in " + dest + " has no version " +
                                                    std::to_string(number) +
                                                    " ('lumvane history' lists those kept).");
  }
  ReplacingFile page, catalog;
  const std::string page_final = JoinPath(dest, "archive.htm");
  const std::string catalog_final = JoinPath(dest, "archive.txt");
  Status status = Prepare(JoinPath(found->folder, "archive.htm"), page, page_final, false);
  if (status.ok()) {
    status = Prepare(JoinPath(found->folder, "archive.txt"), catalog, catalog_final, true);
  }
  Generation kept;
  if (status.ok() && PathExists(page_final)) {
    status = KeepGeneration(dest, "restore", SurveyArchive(dest).records, &kept);
  }
  if (status.ok()) status = CommitPair(dest, catalog, catalog_final, page);
  if (!status.ok()) {
    ForgetGeneration(kept);
    return status;
  }
  // The version's own edits, or none: an edit undone by a restore is not made again by the
  // next run. After the pair, as a run saves its log.
  if (EditLog edits; EditLog::Load(found->folder, &edits).ok()) {
    if (Status saved = edits.Save(dest); !saved.ok()) return saved;
  }
  SyncFolder(dest);
  result->restored = *found;
  result->kept = kept;
  result->dropped = PruneGenerations(dest);
  return Status::Ok();
}

std::string RestoreSummary(const Restored& restored, const std::string& dest) {
  std::string text = "Restored " + DescribeGeneration(restored.restored) + " into " +
                     JoinPath(dest, "archive.htm");
  if (restored.kept.number > 0) {
    text += "; the archive it replaced is kept as version " + std::to_string(restored.kept.number);
  }
  for (const Generation& dropped : restored.dropped) {
    text += "\nTo make room, the history no longer keeps " + DescribeGeneration(dropped) + ".";
  }
  return text;
}

}  // namespace lumvane
