// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/archive_page.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>
#include <unordered_map>

#include "platform/catalog_file.h"
#include "platform/paths.h"
#include "platform/text_encoding.h"
#include "platform/text_lines.h"

namespace lumvane {

Status ReadArchiveFile(const std::string& path, std::string* bytes) {
  CatalogFile file;
  if (Status opened = file.Open(path); !opened.ok()) return opened;
  // An archive of a million pictures takes about 200 MB: a page much larger than that is no
  // archive of ours, and reading it whole could take all the memory there is.
  constexpr long long kLargestPage = 1LL << 30;
  if (file.size() > kLargestPage) {
    return Status::Error(StatusCode::kInvalidInput,
                         "too large to read (" + std::to_string(file.size() >> 20) +
                             " MB; an archive has at most " + std::to_string(kLargestPage >> 20) +
                             " MB)");
  }
  try {
    if (!file.ReadAll(bytes)) return Status::FromErrno(errno, std::strerror(errno));
  } catch (const std::bad_alloc&) {
    return Status::Error(StatusCode::kNoSpace, "too large to read into the memory there is");
  }
  return Status::Ok();
}

Status ReadArchivePage(const std::string& path, std::string* text) {
  std::string bytes;
  if (Status read = ReadArchiveFile(path, &bytes); !read.ok()) return read;
  try {
    *text = DecodeText(bytes);
  } catch (const std::bad_alloc&) {
    return Status::Error(StatusCode::kNoSpace, "too large to read into the memory there is");
  }
  return Status::Ok();
}

bool IsArchivePage(std::string_view page_text) {
  static constexpr std::string_view kCatalog = "var cat = new Catalog()";
  for (size_t at = page_text.find(kCatalog); at != std::string_view::npos;
       at = page_text.find(kCatalog, at + 1)) {
    if (at == 0 || page_text[at - 1] == '\n' || page_text[at - 1] == '\r') return true;
  }
  return false;
}

bool StaysInsideArchive(std::string_view name) {
  if (name.starts_with('/') || name.starts_with('\\') || (name.size() >= 2 && name[1] == ':')) {
    return false;
  }
  const std::vector<std::string_view> names = CatalogPathNames(name);
  return std::none_of(names.begin(), names.end(), [](std::string_view n) { return n == ".."; });
}

std::string OriginalFileOf(const PictureRecord& record) {
  if (record.path.empty()) return record.source;
  const bool windows =
      record.path.find('\\') != std::string::npos && record.path.find('/') == std::string::npos;
  const char separator = windows ? '\\' : '/';
  if (record.path.back() == separator) return record.path + record.source;
  return record.path + separator + record.source;
}

std::vector<std::string> SourcesOf(const std::vector<PictureRecord>& records,
                                   std::string_view catalog_bytes) {
  std::vector<std::pair<std::string_view, std::string_view>> rows;  // thumbnail, source
  const std::vector<std::string_view> lines = SplitLines(catalog_bytes);
  for (size_t i = 1; i < lines.size(); ++i) {  // the first line is the header
    const std::string_view row = lines[i];
    if (std::count(row.begin(), row.end(), '\t') != 7) continue;
    rows.emplace_back(row.substr(row.rfind('\t') + 1), row.substr(0, row.find('\t')));
  }
  std::unordered_map<std::string_view, std::string_view> by_thumbnail;
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) by_thumbnail[row->first] = row->second;
  std::vector<std::string> sources;
  for (size_t i = 0; i < records.size(); ++i) {
    const std::string& thumb = records[i].thumb;
    const auto found = by_thumbnail.find(thumb);
    if (i < rows.size() && rows[i].first == thumb) {
      sources.emplace_back(rows[i].second);
    } else if (found != by_thumbnail.end()) {
      sources.emplace_back(found->second);
    } else {
      sources.push_back(OriginalFileOf(records[i]));
    }
  }
  return sources;
}

}  // namespace lumvane
