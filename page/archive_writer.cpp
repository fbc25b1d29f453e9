// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/archive_writer.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "page/archive_history.h"
#include "page/commit_journal.h"
#include "page/page_writer.h"
#include "pictures/catalog_line.h"
#include "platform/file_copy.h"
#include "platform/file_probe.h"
#include "platform/file_system.h"
#include "platform/kept_file.h"
#include "platform/paths.h"
#include "platform/temporary_files.h"

namespace fs = std::filesystem;

namespace lumvane {
namespace {

// The folders of `dest` that do not exist yet, deepest first.
std::vector<std::string> MissingFolders(const std::string& dest) {
  std::vector<std::string> missing;
  std::error_code error;
  for (fs::path folder = fs::path(dest).lexically_normal();
       !folder.empty() && !fs::exists(folder, error) && folder != folder.parent_path();
       folder = folder.parent_path()) {
    missing.push_back(folder.string());
  }
  return missing;
}

// An archive's files of these names that are no regular files (a FIFO, a device, a folder, or
// a link to one) are the user's: never read, never replaced.
Status CheckNothingInTheWay(const std::string& dest) {
  for (const char* name : {"archive.htm", "archive.txt"}) {
    const std::string path = JoinPath(dest, name);
    const StatusOr<FileFacts> facts = FactsOf(path);
    if (!facts.ok() || facts->kind == FileKind::kRegular) continue;
    const char* what = facts->kind == FileKind::kFolder   ? "a folder"
                       : facts->kind == FileKind::kFifo   ? "a FIFO"
                       : facts->kind == FileKind::kSocket ? "a socket"
                                                          : "a device";
    return Status::Error(StatusCode::kAlreadyExists,
                         path + " is " + what + ", not an archive's file; it was left as it is. " +
                             "Move it away to make an archive in " + dest + ".");
  }
  return Status::Ok();
}

}  // namespace

Status ArchiveWriter::Open(const std::string& dest, bool reads_own_catalog,
                           std::chrono::milliseconds patience) {
  Abandon();
  dest_ = dest;
  reads_own_catalog_ = reads_own_catalog;
  catalog_started_ = false;
  back_up_ = backed_up_ = false;
  keep_as_.clear();
  edit_log_ = nullptr;
  kept_ = Generation();
  dropped_.clear();
  records_ = earlier_records_ = 0;
  created_folders_ = MissingFolders(dest);
  std::error_code error;
  fs::create_directories(dest, error);
  if (error) {
    Abandon();
    return Status::FromErrno(error.value(), "Cannot write into " + dest + ": " + error.message());
  }
  Status status = lock_.Acquire(dest, patience);
  if (status.ok()) status = CheckNothingInTheWay(dest);
  if (status.ok()) status = FinishInterruptedCommit(dest);
  if (status.ok()) {
    RemoveLeftoverTemporaries(dest);
    status = page_.Open(JoinPath(dest, "archive.htm"));
    previous_ = StoredValues();
  }
  if (status.ok()) status = tab_.Open(JoinPath(dest, "archive.txt"));
  if (status.ok()) {
    WritePageHead(page_);
    status = page_.Flush();
  }
  if (!status.ok()) Abandon();
  return status;
}

void ArchiveWriter::StartCatalog() {
  if (catalog_started_) return;
  tab_.WriteLine(TabCatalogHeader());
  catalog_started_ = true;
}

Status ArchiveWriter::Add(const PictureRecord& record, const std::string& tab_source) {
  StartCatalog();
  StoredValues values = EncodeRecord(record);
  page_.WriteLine(RecordRow(values, previous_));
  previous_ = std::move(values);
  tab_.WriteLine(TabCatalogLine(tab_source, record));
  Status status = page_.Flush();
  if (status.ok()) status = tab_.Flush();
  if (status.ok()) ++records_;
  return status;
}

void ArchiveWriter::NoteCreated(const std::string& path) {
  created_.push_back(path);
}

Status ArchiveWriter::AddTexture(const std::string& texture) {
  for (const char* name : {"texture.jpg", "texture2.jpg"}) {
    const std::string from = texture.empty() ? "" : JoinPath(FolderOf(texture), name);
    bool copied = false;
    Status status = CopyTexture(from, dest_, name, &copied);
    if (copied) NoteCreated(JoinPath(dest_, name));
    if (!status.ok()) return status;
  }
  return Status::Ok();
}

Status ArchiveWriter::Commit(bool stopped) {
  WritePageTail(page_);
  Status status = page_.Finish();
  if (status.ok()) status = tab_.Finish();
  // The images the page names are on the disk before it: one sync of the file system, not one
  // per image. A disk that cannot sync them fails the run as a full one does.
  if (const std::string reason = SyncFileSystemOf(dest_); status.ok() && !reason.empty()) {
    status = Status::Error(StatusCode::kIoError, "Cannot write into " + dest_ + ": " + reason);
  }
  const bool keeps_own = reads_own_catalog_ && stopped;
  if (status.ok()) {
    status = PutInPlaceWithBackup(JoinPath(dest_, keeps_own ? "archive2.txt" : "archive.txt"));
  }
  if (!status.ok()) {
    Abandon();
    return status;
  }
  if (reads_own_catalog_ && !stopped) (void)RemoveFile(JoinPath(dest_, "archive2.txt"));
  SyncFolder(dest_);
  created_.clear();
  created_folders_.clear();
  // After the pair, and never abandoning it: a run only takes edits out of the log, so a log
  // saved late, or not at all, keeps too many.
  status = edit_log_ != nullptr && !log_before_pair_ ? edit_log_->Save(dest_) : Status::Ok();
  lock_.Release();
  return status;
}

// Keeps the archive it replaces as a generation when asked and it differs from the new one,
// then puts the new pair in place (with the editor's backups when asked). Should that fail,
// the generation goes again; once it succeeded, the oldest generations beyond the bounds go.
Status ArchiveWriter::PutInPlaceWithBackup(const std::string& tab_final) {
  Generation kept;
  // Only a writer that keeps the earlier archive reads it: not the editor's later changes.
  if (!keep_as_.empty() && PathExists(JoinPath(dest_, "archive.htm"))) {
    const bool same = IsSameAsEarlier(tab_final);
    earlier_records_ = same ? records_ : SurveyArchive(dest_).records;
    if (!same) {
      Status status = KeepGeneration(dest_, keep_as_, earlier_records_, &kept);
      if (!status.ok()) return status;
    }
  }
  const bool log_first = edit_log_ != nullptr && log_before_pair_;
  const std::optional<KeptFile> earlier_log =
      log_first ? std::optional<KeptFile>(std::in_place, JoinPath(dest_, kEditLogName))
                : std::nullopt;
  Status status = log_first ? edit_log_->Save(dest_) : Status::Ok();
  if (status.ok()) {
    status = back_up_ ? PutInPlaceWithEditorsBackup(tab_final)
                      : CommitPair(dest_, tab_, tab_final, page_);
  }
  if (!status.ok()) {
    if (earlier_log) earlier_log->Restore();
    ForgetGeneration(kept);
    return status;
  }
  kept_ = kept;
  if (kept.number > 0) dropped_ = PruneGenerations(dest_);
  return status;
}

bool ArchiveWriter::IsSameAsEarlier(const std::string& tab_final) const {
  const auto page = DigestOfFile(JoinPath(dest_, "archive.htm"));
  const auto catalog = DigestOfFile(tab_final);
  return page && catalog && *page == page_.digest() && *catalog == tab_.digest();
}

// The pair put in place with the archive it replaces kept as archive_bak.htm and
// archive_bak.txt first; should the new files fail to take their names, the earlier backups
// come back.
Status ArchiveWriter::PutInPlaceWithEditorsBackup(const std::string& tab_final) {
  const std::string page = JoinPath(dest_, "archive.htm");
  const std::string catalog = JoinPath(dest_, "archive.txt");
  if (!PathExists(page)) return CommitPair(dest_, tab_, tab_final, page_);
  const CommitPlan backups{"", JoinPath(dest_, "archive_bak.txt"), "",
                           JoinPath(dest_, "archive_bak.htm")};
  CommitPlan plan = backups;
  Status status = CopyToTemporary(page, dest_, "archive_bak.htm", &plan.page_temp);
  if (status.ok() && PathExists(catalog)) {
    status = CopyToTemporary(catalog, dest_, "archive_bak.txt", &plan.catalog_temp);
  }
  const KeptFile earlier_page(backups.page_final), earlier_catalog(backups.catalog_final);
  if (status.ok()) {
    status = plan.catalog_temp.empty() ? RenamePath(plan.page_temp, plan.page_final)
                                             .Prefixed("Cannot write into " + dest_ + ": ")
                                       : RenameBackupPair(dest_, plan);
  }
  if (status.ok()) status = CommitPair(dest_, tab_, tab_final, page_);
  if (!status.ok()) {
    for (const std::string* temp : {&plan.page_temp, &plan.catalog_temp}) {
      if (!temp->empty()) (void)RemoveFile(*temp);
    }
    earlier_page.Restore();
    earlier_catalog.Restore();
    return status;
  }
  backed_up_ = true;
  return status;
}

void ArchiveWriter::Abandon() {
  page_.Abandon();
  tab_.Abandon();
  for (const std::string& path : created_) (void)RemoveFile(path);
  created_.clear();
  lock_.Release();
  for (const std::string& folder : created_folders_) RemoveEmptyFolder(folder);
  created_folders_.clear();
}

namespace {

// The thumbnail of a record's first line as stored: a row's first value (a lone quote repeats
// the one before), or what stands between a statement's first two quotes.
std::string_view ThumbOf(std::string_view line, PageLine kind) {
  if (kind == PageLine::kRow) return line.substr(0, line.find_first_of("\t\r\n"));
  const size_t open = line.find('"');
  const size_t close = open == std::string_view::npos ? open : line.find('"', open + 1);
  return close == std::string_view::npos ? "" : line.substr(open + 1, close - open - 1);
}

}  // namespace

ArchiveSurvey SurveyArchive(const std::string& dest) {
  ArchiveSurvey survey;
  FILE* page = OpenRegularFileStream(JoinPath(dest, "archive.htm"));
  if (page == nullptr) return survey;
  char* line = nullptr;
  size_t capacity = 0;
  bool in_rows = false;
  ssize_t length = 0;
  while ((length = getline(&line, &capacity, page)) > 0) {
    const std::string_view text(line, static_cast<size_t>(length));
    const PageLine kind = ClassifyPageLine(text, &in_rows);
    if (kind == PageLine::kOther) continue;
    const std::string_view thumb = ThumbOf(text, kind);
    ++survey.records;
    if (!thumb.empty() && thumb != "\"" && thumb.find('/') == std::string_view::npos) {
      survey.own_pictures = true;
    }
  }
  std::free(line);
  std::fclose(page);
  return survey;
}

}  // namespace lumvane
