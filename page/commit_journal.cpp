#include "page/commit_journal.h"

#include <unistd.h>

#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/file_probe.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "platform/text_lines.h"

namespace lumvane {
namespace {

// Not a temporary: it must outlive the clean-up of a killed run's temporaries.
constexpr char kJournalName[] = ".lumvane-commit";

bool Exists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

}  // namespace

Status BeginCommit(const std::string& dest, const CommitPlan& plan) {
  ReplacingFile journal;
  if (Status status = journal.Open(JoinPath(dest, kJournalName)); !status.ok()) return status;
  for (const std::string* line :
       {&plan.catalog_temp, &plan.catalog_final, &plan.page_temp, &plan.page_final}) {
    journal.WriteLine(*line);
  }
  Status status = journal.Commit();
  if (status.ok()) SyncFolder(dest);  // on disk before either rename
  return status;
}

void EndCommit(const std::string& dest) {
  unlink(JoinPath(dest, kJournalName).c_str());
}

void FinishInterruptedCommit(const std::string& dest) {
  const std::string path = JoinPath(dest, kJournalName);
  const int fd = OpenRegularFile(path);  // never waits on a FIFO of that name
  if (fd < 0) return;
  std::string text(4096, '\0');
  const ssize_t got = read(fd, text.data(), text.size());
  close(fd);
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  const std::vector<std::string_view> lines = SplitLines(text);
  CommitPlan plan;
  if (lines.size() >= 4) {
    plan = {std::string(lines[0]), std::string(lines[1]), std::string(lines[2]),
            std::string(lines[3])};
  }
  // Only names of this folder: a journal is no way to move files elsewhere.
  const std::string here = FolderOf(path);
  const bool ours = lines.size() >= 4 && FolderOf(plan.catalog_temp) == here &&
                    FolderOf(plan.page_temp) == here && FolderOf(plan.catalog_final) == here &&
                    FolderOf(plan.page_final) == here;
  if (ours && !Exists(plan.catalog_temp) && Exists(plan.page_temp)) {
    std::rename(plan.page_temp.c_str(), plan.page_final.c_str());
    SyncFolder(dest);
  }
  EndCommit(dest);
}

}  // namespace lumvane
