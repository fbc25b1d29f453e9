// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/commit_journal.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string_view>
#include <vector>

#include "platform/file_probe.h"
#include "platform/file_system.h"
#include "platform/kept_file.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "platform/text_lines.h"

namespace lumvane {
namespace {

// Not temporaries: they must outlive the clean-up of a killed run's temporaries. One for the
// archive's pair, one for the editor's backup pair.
constexpr char kJournalName[] = ".lumvane-commit";
constexpr char kBackupJournalName[] = ".lumvane-backup";
// A journal names four files of one folder; anything longer is not one of ours.
constexpr size_t kJournalLimit = 64 * 1024;

// The file name of `path`: the journal holds names only, so that no folder's name (however
// long, or holding a line break) has to be read back.
std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

// A line of the journal as a file of `dest`: a name alone (a journal of an earlier version
// holds full paths, which must lie in `dest`); "" for anything else.
std::string FileOfDest(const std::string& dest, std::string_view line) {
  const std::string text(line);
  const size_t slash = text.rfind('/');
  if (slash != std::string::npos && FolderOf(text) != FolderOf(JoinPath(dest, "x"))) return "";
  const std::string name = text.substr(slash == std::string::npos ? 0 : slash + 1);
  if (name.empty() || name == "." || name == "..") return "";
  return JoinPath(dest, name);
}

// Writes the journal `name` of `plan` into `dest`, synced: names only.
Status WriteJournal(const std::string& dest, const char* name, const CommitPlan& plan) {
  ReplacingFile journal;
  if (Status status = journal.Open(JoinPath(dest, name)); !status.ok()) return status;
  for (const std::string* line :
       {&plan.catalog_temp, &plan.catalog_final, &plan.page_temp, &plan.page_final}) {
    journal.WriteLine(NameOf(*line));
  }
  Status status = journal.Commit();
  if (status.ok()) SyncFolder(dest);  // on disk before either rename
  return status;
}

// Puts the pair of `plan` in place under the journal `name`: the catalog by `move_catalog`,
// then the page by `move_page`; should the page fail, the earlier catalog comes back.
Status MovePair(const std::string& dest, const char* name, const CommitPlan& plan,
                const std::function<Status()>& move_catalog,
                const std::function<Status()>& move_page) {
  if (Status status = WriteJournal(dest, name, plan); !status.ok()) return status;
  const KeptFile earlier_catalog(plan.catalog_final);
  Status status = move_catalog();
  if (status.ok()) {
    status = move_page();
    if (!status.ok()) earlier_catalog.Restore();
  }
  (void)RemoveFile(JoinPath(dest, name));
  return status;
}

Status Rename(const std::string& dest, const std::string& from, const std::string& to) {
  return RenamePath(from, to).Prefixed("Cannot write into " + dest + ": ");
}

// Finishes the pair of the journal `name`, if any, and removes the journal.
Status FinishJournal(const std::string& dest, const char* name) {
  const std::string path = JoinPath(dest, name);
  if (!PathExists(path)) return Status::Ok();
  std::string journal;
  ReadSmallFile(path, kJournalLimit, &journal);  // never waits on a FIFO of that name
  const std::vector<std::string_view> lines = SplitLines(journal);
  CommitPlan plan;
  if (lines.size() >= 4) {
    plan = {FileOfDest(dest, lines[0]), FileOfDest(dest, lines[1]), FileOfDest(dest, lines[2]),
            FileOfDest(dest, lines[3])};
  }
  // Only names of this folder: a journal is no way to move files elsewhere.
  const bool ours = !plan.catalog_temp.empty() && !plan.catalog_final.empty() &&
                    !plan.page_temp.empty() && !plan.page_final.empty();
  if (ours && !PathExists(plan.catalog_temp) && PathExists(plan.page_temp)) {
    if (Status renamed = RenamePath(plan.page_temp, plan.page_final); !renamed.ok()) {
      // The journal stays: the pair is finished by the next writer that can.
      return renamed.Prefixed("Cannot finish the archive an earlier run left half in place in " +
                              dest + ": ");
    }
    SyncFolder(dest);
  }
  (void)RemoveFile(path);
  return Status::Ok();
}

}  // namespace

Status CommitPair(const std::string& dest, ReplacingFile& catalog, const std::string& catalog_final,
                  ReplacingFile& page) {
  const std::string page_final = JoinPath(dest, "archive.htm");
  return MovePair(
      dest, kJournalName, {catalog.temp_path(), catalog_final, page.temp_path(), page_final},
      [&] { return catalog.MoveTo(catalog_final); }, [&] { return page.MoveTo(page_final); });
}

Status RenameBackupPair(const std::string& dest, const CommitPlan& plan) {
  return MovePair(
      dest, kBackupJournalName, plan,
      [&] { return Rename(dest, plan.catalog_temp, plan.catalog_final); },
      [&] { return Rename(dest, plan.page_temp, plan.page_final); });
}

Status FinishInterruptedCommit(const std::string& dest) {
  for (const char* name : {kJournalName, kBackupJournalName}) {
    if (Status status = FinishJournal(dest, name); !status.ok()) return status;
  }
  return Status::Ok();
}

}  // namespace lumvane
