#include "page/archive_page.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/catalog_file.h"
#include "platform/text_encoding.h"
#include "platform/text_lines.h"

namespace lumvane {

Status ReadArchiveFile(const std::string& path, std::string* bytes) {
  CatalogFile file;
  switch (file.Open(path)) {
    case CatalogFile::OpenResult::kOpened:
      break;
    case CatalogFile::OpenResult::kInUse:
      return Status::Error("open by another program");
    case CatalogFile::OpenResult::kFailed:
      return Status::Error(file.error_reason());
  }
  if (!file.ReadAll(bytes)) return Status::Error(std::strerror(errno));
  return Status::Ok();
}

Status ReadArchivePage(const std::string& path, std::string* text) {
  std::string bytes;
  if (Status read = ReadArchiveFile(path, &bytes); !read.ok()) return read;
  *text = DecodeText(bytes);
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

std::map<std::string, std::string> SourcesByThumbnail(std::string_view catalog_bytes) {
  std::map<std::string, std::string> sources;
  const std::vector<std::string_view> lines = SplitLines(catalog_bytes);
  for (size_t i = 1; i < lines.size(); ++i) {  // the first line is the header
    const std::string_view row = lines[i];
    if (std::count(row.begin(), row.end(), '\t') != 7) continue;
    const size_t first_tab = row.find('\t'), last_tab = row.rfind('\t');
    sources.emplace(std::string(row.substr(last_tab + 1)), std::string(row.substr(0, first_tab)));
  }
  return sources;
}

}  // namespace lumvane
