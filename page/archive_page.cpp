#include "page/archive_page.h"

#include <cerrno>
#include <cstring>

#include "platform/catalog_file.h"
#include "platform/text_encoding.h"

namespace lumvane {

Status ReadArchivePage(const std::string& path, std::string* text) {
  CatalogFile page;
  switch (page.Open(path)) {
    case CatalogFile::OpenResult::kOpened:
      break;
    case CatalogFile::OpenResult::kInUse:
      return Status::Error("open by another program");
    case CatalogFile::OpenResult::kFailed:
      return Status::Error(page.error_reason());
  }
  std::string bytes;
  if (!page.ReadAll(&bytes)) return Status::Error(std::strerror(errno));
  *text = DecodeText(bytes);
  return Status::Ok();
}

}  // namespace lumvane
