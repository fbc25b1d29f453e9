// SPDX-License-Identifier: GPL-3.0-or-later
// The one list of file types a catalog mode knows, by the text their file names contain.
#ifndef LUMVANE_RUN_CATALOG_TYPES_H_
#define LUMVANE_RUN_CATALOG_TYPES_H_

#include <string>

namespace lumvane {

struct CatalogType {
  const char* marker;   // contained in the file name, letter case counting: ".txt"
  const char* caption;  // the window's Status for a file of this type
  bool is_catalog;      // false for the archive page itself, which goes to the editor
};

// In the order the names are tested: the first type whose marker a name contains wins.
inline constexpr CatalogType kCatalogTypes[] = {
    {".txt", " Tab Delimited Text File", true},
    {".plb", " Photo Organizer Library File", true},
    {".GAL", " EasyPhoto or Adobe Gallery File", true},
    {".tDB", " ThumbsPlus V3 Database", true},
    {".csv", " ThumbsPlus V4 Export File", true},
    {".htm", " HTML File", false},
    {".mdb", " PhotoRecall Database", true},
};

inline constexpr char kUnsupportedTypeCaption[] = " Catalog file type not supported";

// Which files are read as catalogs, for the message that refuses another.
inline constexpr char kCatalogTypesRead[] =
    "Catalogs are read from files whose names hold .txt, .plb, .GAL, .tDB, .csv or .mdb, in "
    "that letter case.";

// The marker of the first catalog type that `file_name` contains, or "" when none does. Only
// the file's own name is tested, never its folders.
std::string CatalogTypeOf(const std::string& file_name);

// The Status caption for `file_name`: the first type it contains, or kUnsupportedTypeCaption.
std::string CatalogTypeCaption(const std::string& file_name);

}  // namespace lumvane

#endif  // LUMVANE_RUN_CATALOG_TYPES_H_
