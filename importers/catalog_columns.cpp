#include "importers/catalog_columns.h"

#include "platform/text_encoding.h"

namespace lumvane {

std::string Unquote(std::string_view column) {
  if (column.size() >= 2 && column.front() == '"' && column.back() == '"') {
    column = column.substr(1, column.size() - 2);
  }
  return std::string(column);
}

bool ReadCatalogText(const ImportRun& run, std::string* text) {
  std::string bytes;
  if (run.catalog() == nullptr || !run.catalog()->ReadAll(&bytes)) return false;
  *text = DecodeText(bytes);
  return true;
}

}  // namespace lumvane
