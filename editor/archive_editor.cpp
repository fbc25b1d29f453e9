#include "editor/archive_editor.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "editor/date_rules.h"
#include "master/make_master.h"
#include "page/archive_page.h"
#include "page/archive_writer.h"
#include "pictures/catalog_line.h"
#include "platform/paths.h"

namespace lumvane {

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
  const std::string page = JoinPath(folder, "archive.htm");
  std::string text;
  if (Status read = ReadArchivePage(page, &text); !read.ok()) {
    return Status::Error("Cannot read " + page + ": " + read.message());
  }
  folder_ = folder;
  records_.clear();
  for (const StoredValues& values : ReadCatalogLines(text)) {
    records_.push_back(DecodeRecord(values));
  }
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
  const std::optional<std::string> date = StoredDate(typed.date);
  if (!date) return Status::Error(typed.date + " is not a valid date");
  if (stored_date != nullptr) *stored_date = *date;
  if (n < 1 || n > count()) return Write();
  PictureRecord& r = records_[static_cast<size_t>(n - 1)];
  const PictureRecord before = r;
  r.title = typed.title;
  r.subject = typed.keywords;
  r.category = typed.category;
  r.comment = typed.comment;
  r.author = typed.author;
  r.picdate = *date;
  Status written = Write();
  if (!written.ok()) r = before;  // the table stays what the files hold
  return written;
}

Status ArchiveEditor::Delete(long n) {
  if (n < 1 || n > count()) return Status::Error("Invalid record number.");
  const PictureRecord removed = records_[static_cast<size_t>(n - 1)];
  records_.erase(records_.begin() + (n - 1));
  Status written = Write();
  if (!written.ok()) records_.insert(records_.begin() + (n - 1), removed);
  return written;
}

Status ArchiveEditor::Write() {
  ArchiveWriter writer;
  if (Status status = writer.Open(folder_, false); !status.ok()) return status;
  writer.StartCatalog();
  for (const PictureRecord& record : records_) {
    if (Status status = writer.Add(record, OriginalFileOf(record)); !status.ok()) return status;
  }
  if (!backup_made_) writer.BackUpPageAtCommit();
  if (Status status = writer.Commit(false); !status.ok()) return status;
  backup_made_ = true;
  return Status::Ok();
}

}  // namespace lumvane
