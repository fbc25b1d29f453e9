// SPDX-License-Identifier: GPL-3.0-or-later
// The one owner of a run's archive: archive.htm and archive.txt are written beside their
// names, record by record, and then either committed together or abandoned, and an abandoned
// run leaves the folder exactly as it was. Holds the folder's DestinationLock meanwhile, so
// that one run at a time writes into a folder. Not thread-safe; one writer per run.
#ifndef LUMVANE_PAGE_ARCHIVE_WRITER_H_
#define LUMVANE_PAGE_ARCHIVE_WRITER_H_

#include <chrono>
#include <string>
#include <vector>

#include "page/archive_history.h"
#include "page/edit_log.h"
#include "pictures/catalog_line.h"
#include "pictures/picture_record.h"
#include "platform/destination_lock.h"
#include "platform/replacing_file.h"
#include "platform/status.h"

namespace lumvane {

class ArchiveWriter {
 public:
  ArchiveWriter() = default;
  ~ArchiveWriter() { Abandon(); }
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  // Creates `dest` when missing, takes its lock, removes the temporaries of killed runs and
  // starts both files, the page with its head. `reads_own_catalog`: the run reads the
  // folder's own archive.txt, so a stopped run leaves its lines in archive2.txt instead.
  // Errors: "DEST is being written by another run" (after `patience`, see DestinationLock),
  // "Cannot write into DEST: reason".
  Status Open(const std::string& dest, bool reads_own_catalog,
              std::chrono::milliseconds patience = std::chrono::milliseconds(0));

  // Writes the header line of archive.txt, once per run, before the first record.
  void StartCatalog();

  // Appends a picture: its CatalogLine to the page, its TabCatalogLine (with `tab_source`) to
  // archive.txt. An error when the folder cannot take them; the run must then abandon.
  Status Add(const PictureRecord& record, const std::string& tab_source);

  // A file the run added to the folder (a generated image, a copy): removed when abandoned.
  void NoteCreated(const std::string& path);

  // Asks Commit to keep the archive it replaces as archive_bak.htm and archive_bak.txt
  // (replacing older backups), in place together with the new files or not at all: the
  // editor's own backup.
  void BackUpAtCommit() { back_up_ = true; }

  // Asks Commit to keep the archive it replaces, when it differs from the new one, in the
  // archive's history (archive_history.h), noted as replaced by `by` ("scan", "edit", ...).
  void KeepEarlierAs(std::string by) { keep_as_ = std::move(by); }

  // Asks Commit to save `log`, the editor's changes, under the folder's lock: after the earlier
  // archive was kept (with the log it had), and `before_pair` the new files are in place (the
  // editor's: a change in the archive that the log lacks would be undone by the next run; the
  // earlier log comes back should the pair fail), else after them (a run's: a run only takes
  // changes out, so a log saved late keeps too many). REQUIRES: `log` outlives Commit.
  void SaveEditLogAtCommit(const EditLog* log, bool before_pair) {
    edit_log_ = log;
    log_before_pair_ = before_pair;
  }

  // Copies Lumvane's `texture` and the dark texture2.jpg beside it into the folder, each
  // unless the folder has one.
  Status AddTexture(const std::string& texture);

  int records() const { return records_; }
  const std::string& dest() const { return dest_; }
  // After Commit: the pictures of the archive it replaced (0 when there was none, or none was
  // to be kept), whether that archive was kept as archive_bak.htm, the generation it was kept
  // as (number 0: none), and the oldest generations that went to make room.
  int earlier_records() const { return earlier_records_; }
  bool backed_up() const { return backed_up_; }
  const Generation& kept() const { return kept_; }
  const std::vector<Generation>& dropped() const { return dropped_; }
  // The digests of the page and catalog as written (after Commit: the files in place).
  const ContentDigest& page_digest() const { return page_.digest(); }
  const ContentDigest& catalog_digest() const { return tab_.digest(); }

  // Writes the page's tail and puts both files in place, or neither. `stopped`: the run was
  // stopped (a run reading its own archive.txt then leaves it as it is). A failure abandons.
  Status Commit(bool stopped);

  // Removes everything this run wrote or added; the folder is as it was before Open.
  void Abandon();

 private:
  Status PutInPlaceWithBackup(const std::string& tab_final);
  Status PutInPlaceWithEditorsBackup(const std::string& tab_final);
  // True when dest's archive.htm and `tab_final` hold what this writer wrote.
  bool IsSameAsEarlier(const std::string& tab_final) const;

  std::string dest_;
  bool reads_own_catalog_ = false;
  bool catalog_started_ = false;
  bool back_up_ = false;
  bool backed_up_ = false;
  std::string keep_as_;
  Generation kept_;
  std::vector<Generation> dropped_;
  const EditLog* edit_log_ = nullptr;
  bool log_before_pair_ = false;
  int records_ = 0;
  StoredValues previous_;  // the last record written, whose repeated values rows leave out
  int earlier_records_ = 0;
  DestinationLock lock_;
  ReplacingFile page_;
  ReplacingFile tab_;
  std::vector<std::string> created_;          // files the run added
  std::vector<std::string> created_folders_;  // made by Open, deepest first
};

// What the archive.htm in `dest` holds: its records, and whether any of them is a picture of
// the folder itself (a master's records all lie in subfolders). Only a regular file is read;
// a missing or unreadable page holds nothing.
struct ArchiveSurvey {
  int records = 0;
  bool own_pictures = false;
};
ArchiveSurvey SurveyArchive(const std::string& dest);

}  // namespace lumvane

#endif  // LUMVANE_PAGE_ARCHIVE_WRITER_H_
