// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/edit_log.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include "page/archive_page.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/replacing_file.h"
#include "platform/text_lines.h"

namespace lumvane {
namespace {

constexpr char kDeleted[] = "deleted";

// The editable fields by the names the log and the command line give them.
std::pair<const char*, std::string PictureRecord::*> const kEditable[] = {
    {"title", &PictureRecord::title},       {"keywords", &PictureRecord::subject},
    {"category", &PictureRecord::category}, {"comment", &PictureRecord::comment},
    {"author", &PictureRecord::author},     {"date", &PictureRecord::picdate}};

// A text with its backslashes, tabs and line breaks escaped, so that it fits in one column.
std::string Escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else
      out += c;
  }
  return out;
}

std::string Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char next = text[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next == 'r' ? '\r' : next;
  }
  return out;
}

std::string KeyOf(const PictureRecord& record) {
  return record.path + "/" + record.source;
}

std::vector<std::string_view> Columns(std::string_view line) {
  std::vector<std::string_view> columns;
  size_t start = 0;
  while (true) {
    const size_t tab = line.find('\t', start);
    columns.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return columns;
    start = tab + 1;
  }
}

}  // namespace

Status EditLog::Load(const std::string& dest, EditLog* log) {
  log->pictures_.clear();
  const std::string path = JoinPath(dest, kEditLogName);
  if (!NameTaken(path)) return Status::Ok();
  std::string bytes;
  if (Status read = ReadArchiveFile(path, &bytes); !read.ok()) {
    return read.Prefixed("Cannot read the editor's changes in " + path + ": ");
  }
  for (const std::string_view line : SplitLines(bytes)) {
    const std::vector<std::string_view> columns = Columns(line);
    if (columns.size() == 2 && columns[1] == kDeleted) {
      log->pictures_[Unescaped(columns[0])].deleted = true;
    } else if (columns.size() == 4) {
      log->pictures_[Unescaped(columns[0])].fields[Unescaped(columns[1])] = {Unescaped(columns[2]),
                                                                             Unescaped(columns[3])};
    }
  }
  return Status::Ok();
}

Status EditLog::Save(const std::string& dest) const {
  const std::string path = JoinPath(dest, kEditLogName);
  if (pictures_.empty()) {
    return RemoveFile(path).Prefixed("Cannot write into " + dest + ": ");
  }
  ReplacingFile file;
  if (Status status = file.Open(path); !status.ok()) return status;
  for (const auto& [key, picture] : pictures_) {
    if (picture.deleted) file.WriteLine(Escaped(key) + "\t" + kDeleted);
    for (const auto& [field, edit] : picture.fields) {
      file.WriteLine(Escaped(key) + "\t" + Escaped(field) + "\t" + Escaped(edit.was) + "\t" +
                     Escaped(edit.now));
    }
  }
  return file.Commit();
}

void EditLog::NoteEdit(const PictureRecord& before, const PictureRecord& after) {
  Picture& picture = pictures_[KeyOf(before)];
  for (const auto& [name, field] : kEditable) {
    if (before.*field == after.*field) continue;
    const auto known = picture.fields.find(name);
    const std::string was = known != picture.fields.end() ? known->second.was : before.*field;
    if (after.*field == was) {
      picture.fields.erase(name);
    } else {
      picture.fields[name] = {was, after.*field};
    }
  }
  if (!picture.deleted && picture.fields.empty()) pictures_.erase(KeyOf(before));
}

void EditLog::NoteDeletion(const PictureRecord& record) {
  pictures_[KeyOf(record)].deleted = true;
}

EditLog::Applied EditLog::Apply(PictureRecord* record, bool with_deleted) {
  Applied applied;
  const auto known = pictures_.find(KeyOf(*record));
  if (known == pictures_.end()) return applied;
  Picture& picture = known->second;
  if (picture.deleted && !with_deleted) {
    applied.deleted = true;
    return applied;
  }
  picture.deleted = false;
  for (const auto& [name, field] : kEditable) {
    const auto edit = picture.fields.find(name);
    if (edit == picture.fields.end()) continue;
    if (record->*field == edit->second.was || record->*field == edit->second.now) {
      record->*field = edit->second.now;  // the second: a run of the archive's own catalog
    } else {
      applied.gave_way.push_back(name);
      picture.fields.erase(edit);
    }
  }
  if (picture.fields.empty()) pictures_.erase(known);
  return applied;
}

}  // namespace lumvane
