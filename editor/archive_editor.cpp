// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/archive_editor.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <new>

#include "editor/date_rules.h"
#include "page/archive_page.h"
#include "page/archive_writer.h"
#include "page/commit_journal.h"
#include "pictures/catalog_line.h"
#include "platform/destination_lock.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/plural.h"
#include "platform/text_encoding.h"

namespace lumvane {

namespace {

// How long the editor waits for another edit to finish writing the archive.
constexpr std::chrono::milliseconds kPatience(3000);

ContentDigest Digest(std::string_view bytes) {
  ContentDigest digest;
  digest.Add(bytes);
  return digest;
}

}  // namespace

long RecordNumberOf(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const size_t start = i;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  const auto digits = [&] {
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  };
  digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    digits();
  }
  const double value = std::strtod(text.substr(start, i - start).c_str(), nullptr);
  if (!std::isfinite(value) || std::fabs(value) > 1e15) return 0;
  return static_cast<long>(std::nearbyint(value));  // the default rounding: halves to even
}

std::string SteppedRecordNumber(const std::string& text, int step) {
  const long n = RecordNumberOf(text) + step;
  return n < 0 ? std::to_string(n) : " " + std::to_string(n);
}

Status ArchiveEditor::Load(const std::string& folder) {
  // Read under the lock that runs and edits write under, so that the files read belong
  // together. A folder that cannot be written (a CD) has no writer to wait for.
  DestinationLock lock;
  if (CanWriteInto(folder)) {
    if (Status locked = lock.Acquire(folder, kPatience); !locked.ok()) return locked;
    // The pair read must be a pair.
    if (Status finished = FinishInterruptedCommit(folder); !finished.ok()) return finished;
  }
  const std::string page = JoinPath(folder, "archive.htm");
  try {
    return Read(folder);
  } catch (const std::bad_alloc&) {
    return Status::Error(StatusCode::kNoSpace,
                         "Cannot open " + page + ": it is too large for the memory there is");
  }
}

// Load's reading; the editor changes only when all was read.
Status ArchiveEditor::Read(const std::string& folder) {
  const std::string page = JoinPath(folder, "archive.htm");
  std::string bytes;
  if (Status read = ReadArchiveFile(page, &bytes); !read.ok()) {
    return read.Prefixed("Cannot read " + page + ": ");
  }
  const std::string text = DecodeText(bytes);
  if (!IsArchivePage(text))
    return Status::Error(StatusCode::kInvalidInput,
                         page + " is not an archive made by this program");
  std::string catalog;
  const bool has_catalog = ReadArchiveFile(JoinPath(folder, "archive.txt"), &catalog).ok();
  std::vector<PictureRecord> records;
  long left_out = 0;
  for (const StoredValues& values : ReadCatalogLines(text)) {
    PictureRecord record = DecodeRecord(values);
    const bool inside = StaysInsideArchive(record.thumb) && StaysInsideArchive(record.file);
    if (inside) records.push_back(std::move(record));
    if (!inside) ++left_out;
  }
  EditLog edits;
  if (Status status = EditLog::Load(folder, &edits); !status.ok()) return status;
  edits_ = std::move(edits);
  sources_ = SourcesOf(records, catalog);
  records_ = std::move(records);
  folder_ = folder;
  left_out_ = left_out;
  loaded_.page = Digest(bytes);
  loaded_.catalog = has_catalog ? std::optional(Digest(catalog)) : std::nullopt;
  backup_made_ = false;
  return Status::Ok();
}

EditorFields ArchiveEditor::Fields(long n) const {
  if (n < 1 || n > count()) return {};
  const PictureRecord& r = records_[static_cast<size_t>(n - 1)];
  return {r.title,   r.subject, r.category, r.comment, r.author,
          r.picdate, r.path,    r.source,   r.thumb};
}

Status ArchiveEditor::Update(long n, const EditorFields& typed, std::string* stored_date) {
  // A date left as it was stored is kept, whatever it holds (a camera's February 30); only a
  // date the user typed is read by the date rules.
  const bool unchanged = n >= 1 && n <= count() && typed.date == Fields(n).date;
  const std::optional<std::string> date = unchanged ? typed.date : StoredDate(typed.date);
  if (!date) return Status::Error(StatusCode::kInvalidInput, typed.date + " is not a valid date");
  if (stored_date != nullptr) *stored_date = *date;
  if (n < 1 || n > count())
    return Status::Error(StatusCode::kNotFound, "There is no record " + std::to_string(n));
  PictureRecord& r = records_[static_cast<size_t>(n - 1)];
  const PictureRecord before = r;
  r.title = typed.title;
  r.subject = typed.subject;
  r.category = typed.category;
  r.comment = typed.comment;
  r.author = typed.author;
  r.picdate = *date;
  EditLog edits = edits_;
  edits.NoteEdit(before, r);
  Status written = Write(/*deleting=*/false, edits);
  if (!written.ok()) r = before;  // the table stays what the files hold
  if (written.ok()) edits_ = std::move(edits);
  return written;
}

Status ArchiveEditor::Delete(long n) {
  if (n < 1 || n > count()) return Status::Error(StatusCode::kNotFound, "Invalid record number.");
  const auto at = static_cast<size_t>(n - 1);
  const PictureRecord removed = records_[at];
  const std::string removed_source = sources_[at];
  records_.erase(records_.begin() + (n - 1));
  sources_.erase(sources_.begin() + (n - 1));
  EditLog edits = edits_;
  edits.NoteDeletion(removed);
  Status written = Write(/*deleting=*/true, edits);
  if (!written.ok()) {
    records_.insert(records_.begin() + (n - 1), removed);
    sources_.insert(sources_.begin() + (n - 1), removed_source);
  }
  if (written.ok()) edits_ = std::move(edits);
  return written;
}

std::string ArchiveEditor::LeftOutNote() const {
  if (left_out_ == 0) return "";
  return CountOf(left_out_, "record") + " of " + JoinPath(folder_, "archive.htm") +
         " named a file outside the archive's folder and will go at the next change.";
}

ArchiveEditor::OnDisk ArchiveEditor::ReadOnDisk() const {
  return {DigestOfFile(JoinPath(folder_, "archive.htm")),
          DigestOfFile(JoinPath(folder_, "archive.txt"))};
}

Status ArchiveEditor::Write(bool deleting, const EditLog& edits) {
  ArchiveWriter writer;
  if (Status status = writer.Open(folder_, false, kPatience); !status.ok()) return status;
  if (ReadOnDisk() != loaded_) {
    writer.Abandon();
    return Status::Error(StatusCode::kChanged,
                         JoinPath(folder_, "archive.htm") +
                             " has changed since it was opened (another run or edit wrote it); "
                             "nothing was written.");
  }
  writer.StartCatalog();
  for (size_t i = 0; i < records_.size(); ++i) {
    if (Status status = writer.Add(records_[i], sources_[i]); !status.ok()) return status;
  }
  if (!backup_made_) writer.BackUpAtCommit();
  // The history keeps the archive as it was before each opening's first change, and before
  // every deletion, so that a deletion can be undone.
  if (!backup_made_ || deleting) writer.KeepEarlierAs("edit");
  writer.SaveEditLogAtCommit(&edits, /*before_pair=*/true);
  if (Status status = writer.Commit(false); !status.ok()) return status;
  loaded_ = {writer.page_digest(), writer.catalog_digest()};
  backup_made_ = true;
  return Status::Ok();
}

}  // namespace lumvane
