// The archive editor as a model, without a window: an archive's records in memory, the record
// on screen by number, and the changes (update, delete) that write the archive again. The
// window, the command line and the tests drive this same code. Not thread-safe.
#ifndef LUMVANE_EDITOR_ARCHIVE_EDITOR_H_
#define LUMVANE_EDITOR_ARCHIVE_EDITOR_H_

#include <string>
#include <vector>

#include "pictures/picture_record.h"
#include "platform/status.h"

namespace lumvane {

// What the editor's boxes show of one record: plain text, decoded from the page.
struct EditorFields {
  std::string title, keywords, category, comment, author, date;  // editable
  std::string path, source, thumb;                               // information only
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
  // Reads every record of FOLDER/archive.htm (no limit on their number). An error names the
  // page and the system's reason. Each load is an opening: its first write makes the backup.
  Status Load(const std::string& folder);

  const std::string& folder() const { return folder_; }
  long count() const { return static_cast<long>(records_.size()); }

  // The boxes of record n (counted from 1); empty boxes for a number beyond the last.
  // REQUIRES: n >= 1.
  EditorFields Fields(long n) const;

  // Stores the typed texts and date of record n and writes the archive. The date goes through
  // the date rules: a refused one gives the error "TEXT is not a valid date", stores nothing
  // and writes nothing. Path, source and thumb are never read. A number that names no record
  // stores nothing but still writes the archive, unchanged. `*stored_date`, when given,
  // receives the date as stored.
  Status Update(long n, const EditorFields& typed, std::string* stored_date = nullptr);

  // Removes record n and writes the archive. "Invalid record number." for a number that names
  // no record; nothing changes then.
  Status Delete(long n);

  // Writes archive.htm and archive.txt again from the records, keeping the page as it was
  // before the first write of this opening as archive_bak.htm. Either all three files are
  // written or none changes (the error names the folder and the reason).
  Status Write();

 private:
  std::string folder_;
  std::vector<PictureRecord> records_;
  bool backup_made_ = false;
};

}  // namespace lumvane

#endif  // LUMVANE_EDITOR_ARCHIVE_EDITOR_H_
