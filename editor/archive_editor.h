// SPDX-License-Identifier: GPL-3.0-or-later
// The archive editor as a model, without a window: an archive's records in memory, the record
// on screen by number, and the changes (update, delete) that write the archive again. The
// window, the command line and the tests drive this same code. Not thread-safe.
#ifndef LUMVANE_EDITOR_ARCHIVE_EDITOR_H_
#define LUMVANE_EDITOR_ARCHIVE_EDITOR_H_

#include <optional>
#include <string>
#include <vector>

#include "page/edit_log.h"
#include "pictures/picture_record.h"
#include "platform/content_digest.h"
#include "platform/status.h"

namespace lumvane {

// What the editor's boxes show of one record: plain text, decoded from the page.
struct EditorFields {
  std::string title, subject, category, comment, author, date;  // editable; subject: the keywords
  std::string path, source, thumb;                              // information only
};

// The record number a typed text names: its leading number (leading blanks skipped, reading
// stops at the first character that cannot continue it), rounded to the nearest whole number
// with halves to the even one; 0 when the text does not begin with a number.
long RecordNumberOf(const std::string& text);

// The text of the record number `step` places on from `text`: " 2" (a blank for the sign),
// "-1".
std::string SteppedRecordNumber(const std::string& text, int step);

class ArchiveEditor {
 public:
  // Reads every record of FOLDER/archive.htm (no limit on their number) under the folder's
  // lock, with each record's source as archive.txt names it, and notes what both files hold.
  // Records naming a file outside the folder are left out (left_out()). Errors: "Cannot read PAGE:
  // reason", "PAGE is not an archive made by this program", "FOLDER is being written by another
  // run". Each load is an opening: its first write makes the backup.
  Status Load(const std::string& folder);

  const std::string& folder() const { return folder_; }
  long count() const { return static_cast<long>(records_.size()); }

  // The boxes of record n (counted from 1); empty boxes for a number beyond the last.
  // REQUIRES: n >= 1.
  EditorFields Fields(long n) const;

  // Stores the typed texts and date of record n and writes the archive. A date other than the
  // stored one goes through the date rules: a refused one is kInvalidInput, "TEXT is not a
  // valid date" (no other failure has that kind). A number that names no record is kNotFound,
  // "There is no record N". Either way nothing is stored or written. An archive that changed
  // on disk since it was loaded is kChanged. Path, source and thumb are never read. `*stored_date`,
  // when given, receives the date as stored.
  Status Update(long n, const EditorFields& typed, std::string* stored_date = nullptr);

  // Removes record n and writes the archive. "Invalid record number." for a number that names
  // no record; nothing changes then.
  Status Delete(long n);

  // Records of the page that name a file outside the archive's folder (a thumbnail
  // "../../etc/passwd"): not loaded, so that the next write drops them.
  long left_out() const { return left_out_; }
  // What to tell the user of them: "" when there are none.
  std::string LeftOutNote() const;

 private:
  // Writes archive.htm and archive.txt again from the records, keeping the archive as it was
  // before the first write of this opening as archive_bak.htm and archive_bak.txt. Either all
  // the files are written or none changes (the error names the folder and the reason). Under
  // the folder's lock, the files must still be those that were loaded, else nothing is written
  // and the failure is kChanged: Load again to see it. Every record keeps its archive.txt source as
  // loaded.
  Status Write(bool deleting, const EditLog& edits);

  // Load's reading, under the lock Load holds.
  Status Read(const std::string& folder);

  // What the archive's two files held when they were last read or written.
  struct OnDisk {
    std::optional<ContentDigest> page, catalog;
    bool operator==(const OnDisk&) const = default;
  };
  OnDisk ReadOnDisk() const;

  std::string folder_;
  std::vector<PictureRecord> records_;
  std::vector<std::string> sources_;  // archive.txt's source column, record by record
  OnDisk loaded_;
  long left_out_ = 0;
  bool backup_made_ = false;
  EditLog edits_;  // what this and earlier openings changed, for later runs to keep
};

}  // namespace lumvane

#endif  // LUMVANE_EDITOR_ARCHIVE_EDITOR_H_
