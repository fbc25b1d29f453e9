// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/catalog_line.h"

#include <utility>

#include "pictures/field_encoding.h"
#include "platform/text_lines.h"

namespace lumvane {

StoredValues EncodeRecord(const PictureRecord& record) {
  StoredValues values;
  const auto fields = record.Fields();
  for (int i = 0; i < PictureRecord::kFieldCount; ++i) values[i] = EncodeField(*fields[i]);
  return values;
}

PictureRecord DecodeRecord(const StoredValues& values) {
  PictureRecord record;
  const auto fields = record.Fields();
  for (int i = 0; i < PictureRecord::kFieldCount; ++i) *fields[i] = DecodeField(values[i]);
  return record;
}

std::string RecordRow(const StoredValues& values, const StoredValues& previous) {
  std::string row;
  // A record without details is written as earlier pages wrote it, with ten values.
  const size_t count = values.back().empty() ? PictureRecord::kEarlierFieldCount : values.size();
  for (size_t i = 0; i < count; ++i) {
    if (i > 0) row.push_back('\t');
    if (values[i].size() > 1 && values[i] == previous[i]) {
      row.push_back('"');
    } else {
      row += values[i];
    }
  }
  return row;
}

namespace {

// The values between the quotes of `joined`; `complete` tells whether ten (or all) were there.
StoredValues ValuesBetweenQuotes(const std::string& joined, bool* complete) {
  StoredValues values;
  size_t position = 0;
  int found = 0;
  for (auto& value : values) {
    const size_t open = joined.find('"', position);
    if (open == std::string::npos) break;
    const size_t close = joined.find('"', open + 1);
    if (close == std::string::npos) break;
    value = joined.substr(open + 1, close - open - 1);
    position = close + 1;
    ++found;
  }
  *complete = found >= PictureRecord::kEarlierFieldCount;
  return values;
}

// The values of a RecordRow, a lone quote standing for the value of `previous`.
StoredValues ValuesOfRow(std::string_view row, const StoredValues& previous, bool* complete) {
  StoredValues values;
  size_t start = 0;
  size_t found = 0;
  bool ended = false;
  while (found < values.size() && !ended) {
    const size_t tab = row.find('\t', start);
    const std::string_view value = row.substr(start, tab - start);
    values[found] = value == "\"" ? previous[found] : std::string(value);
    ++found;
    ended = tab == std::string_view::npos;
    start = tab + 1;
  }
  *complete = found >= PictureRecord::kEarlierFieldCount && ended;
  return values;
}

}  // namespace

PageLine ClassifyPageLine(std::string_view line, bool* in_rows) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (*in_rows) {
    *in_rows = !line.starts_with("</script>");
    return *in_rows && !line.empty() ? PageLine::kRow : PageLine::kOther;
  }
  if (line == kRecordRowsOpen) *in_rows = true;
  return line.starts_with("cat.add") ? PageLine::kStatement : PageLine::kOther;
}

PageRecords ReadPageRecords(std::string_view page_text) {
  const std::vector<std::string_view> lines = SplitLines(page_text);
  PageRecords page;
  bool in_rows = false;
  StoredValues last_whole;  // a row's lone quote stands for its value, as the page reads it
  for (size_t i = 0; i < lines.size(); ++i) {
    const PageLine kind = ClassifyPageLine(lines[i], &in_rows);
    if (kind == PageLine::kRow) {
      bool complete = false;
      StoredValues values = ValuesOfRow(lines[i], last_whole, &complete);
      if (complete) last_whole = values;
      page.all.push_back(std::move(values));
      page.whole.push_back(complete);
      continue;
    }
    if (kind != PageLine::kStatement) continue;
    std::string joined(lines[i]);
    size_t k = 1;
    for (; k <= 4 && i + k < lines.size(); ++k) {
      joined.push_back('\n');
      joined.append(lines[i + k]);
    }
    bool complete = false;
    page.all.push_back(ValuesBetweenQuotes(joined, &complete));
    page.whole.push_back(complete && k == 5);
    i += 4;  // the four lines belong to this record, whatever they begin with
  }
  return page;
}

std::vector<StoredValues> ReadCatalogLines(std::string_view page_text) {
  return ReadPageRecords(page_text).all;
}

std::string TabCatalogHeader() {
  return "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate";
}

namespace {

std::string TabColumn(std::string_view value) {
  std::string column(value);
  for (char& c : column) {
    if (c == '\t' || c == '\r' || c == '\n') c = ' ';
  }
  return column;
}

}  // namespace

std::string TabCatalogLine(std::string_view source_path, const PictureRecord& r) {
  std::string line = TabColumn(source_path);
  for (const std::string* value :
       {&r.title, &r.subject, &r.category, &r.comment, &r.author, &r.picdate, &r.thumb}) {
    line.push_back('\t');
    line += TabColumn(*value);
  }
  return line;
}

}  // namespace lumvane
