#include "page/commit_journal.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/file_probe.h"
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

bool Exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

// The file name of `path`: the journal holds names only, so that no folder's name (however
// long, or holding a line break) has to be read back.
std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

// The journal's text, "" when there is none or it cannot be one of ours.
std::string ReadJournal(const std::string& path) {
  const int fd = OpenRegularFile(path);  // never waits on a FIFO of that name
  if (fd < 0) return "";
  std::string text;
  char buffer[8192];
  ssize_t got = 0;
  while (text.size() <= kJournalLimit && (got = read(fd, buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<size_t>(got));
  }
  close(fd);
  return got < 0 || text.size() > kJournalLimit ? "" : text;
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
Status WriteJournal(const std::string& dest, const char* name, const CommitPlan& plan);

}  // namespace

Status CommitPair(const std::string& dest, ReplacingFile& catalog, const std::string& catalog_final,
                  ReplacingFile& page) {
  const std::string page_final = JoinPath(dest, "archive.htm");
  Status status =
      BeginCommit(dest, {catalog.temp_path(), catalog_final, page.temp_path(), page_final});
  if (!status.ok()) return status;
  const KeptFile earlier_catalog(catalog_final);
  status = catalog.MoveTo(catalog_final);
  if (status.ok()) {
    status = page.MoveTo(page_final);
    if (!status.ok()) earlier_catalog.Restore();
  }
  EndCommit(dest);
  return status;
}

Status RenameBackupPair(const std::string& dest, const CommitPlan& plan) {
  if (Status status = WriteJournal(dest, kBackupJournalName, plan); !status.ok()) return status;
  const KeptFile earlier_catalog(plan.catalog_final);
  Status status = Status::Ok();
  for (const auto& [temp, final_path] :
       {std::pair{&plan.catalog_temp, &plan.catalog_final}, {&plan.page_temp, &plan.page_final}}) {
    if (std::rename(temp->c_str(), final_path->c_str()) != 0) {
      status = Status::Error("Cannot write into " + dest + ": " + std::strerror(errno));
      if (temp == &plan.page_temp) earlier_catalog.Restore();
      break;
    }
  }
  unlink(JoinPath(dest, kBackupJournalName).c_str());
  return status;
}

Status BeginCommit(const std::string& dest, const CommitPlan& plan) {
  return WriteJournal(dest, kJournalName, plan);
}

namespace {

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

}  // namespace

void EndCommit(const std::string& dest) {
  unlink(JoinPath(dest, kJournalName).c_str());
}

namespace {

// Finishes the pair of the journal `name`, if any, and removes the journal.
Status FinishJournal(const std::string& dest, const char* name) {
  const std::string path = JoinPath(dest, name);
  if (!Exists(path)) return Status::Ok();
  const std::string journal = ReadJournal(path);
  const std::vector<std::string_view> lines = SplitLines(journal);
  CommitPlan plan;
  if (lines.size() >= 4) {
    plan = {FileOfDest(dest, lines[0]), FileOfDest(dest, lines[1]), FileOfDest(dest, lines[2]),
            FileOfDest(dest, lines[3])};
  }
  // Only names of this folder: a journal is no way to move files elsewhere.
  const bool ours = lines.size() >= 4 && !plan.catalog_temp.empty() &&
                    !plan.catalog_final.empty() && !plan.page_temp.empty() &&
                    !plan.page_final.empty();
  if (ours && !Exists(plan.catalog_temp) && Exists(plan.page_temp)) {
    if (std::rename(plan.page_temp.c_str(), plan.page_final.c_str()) != 0) {
      // The journal stays: the pair is finished by the next writer that can.
      return Status::Error("Cannot finish the archive an earlier run left half in place in " +
                           dest + ": " + std::strerror(errno));
    }
    SyncFolder(dest);
  }
  unlink(path.c_str());
  return Status::Ok();
}

}  // namespace

Status FinishInterruptedCommit(const std::string& dest) {
  for (const char* name : {kJournalName, kBackupJournalName}) {
    if (Status status = FinishJournal(dest, name); !status.ok()) return status;
  }
  return Status::Ok();
}

}  // namespace lumvane
