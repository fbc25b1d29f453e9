// Cutting a catalog line into columns, shared by the text catalog readers.
#ifndef LUMVANE_IMPORTERS_CATALOG_COLUMNS_H_
#define LUMVANE_IMPORTERS_CATALOG_COLUMNS_H_

#include <string>
#include <string_view>
#include <vector>

#include "importers/import_run.h"

namespace lumvane {

// `column` without its first and last character when both are a double quote; a column of
// one double quote is kept. Doubled quotes inside stay as they are.
std::string Unquote(std::string_view column);

// The lines of the run's catalog, decoded (UTF-8 when valid, else Windows-1252).
// False when the catalog cannot be read.
bool ReadCatalogText(const ImportRun& run, std::string* text);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_CATALOG_COLUMNS_H_
