// The two text forms of a PictureRecord: the five-line CatalogLine statement of archive.htm and
// the tab-delimited TabCatalogLine of archive.txt, and reading CatalogLines back.
#ifndef LUMVANE_PICTURES_CATALOG_LINE_H_
#define LUMVANE_PICTURES_CATALOG_LINE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture_record.h"

namespace lumvane {

// A record's ten values exactly as they stand between the quotes of a CatalogLine.
using StoredValues = std::array<std::string, PictureRecord::kFieldCount>;

// The record's plain fields encoded for the page (EncodeField on each).
StoredValues EncodeRecord(const PictureRecord& record);

// The record with every stored value decoded to plain text.
PictureRecord DecodeRecord(const StoredValues& values);

// The five physical lines of the CatalogLine for `values`, written unchanged, without line ends.
std::array<std::string, 5> CatalogLine(const StoredValues& values);

// Finds every record of a page: a line whose first seven characters are "cat.add" starts a
// record that takes the next four lines; the k-th value is the text between the (2k-1)-th and
// 2k-th double quote. Values a damaged record lacks are empty. Lines end at CR LF, CR or LF.
std::vector<StoredValues> ReadCatalogLines(std::string_view page_text);

// Every record of a page, as ReadCatalogLines finds them, and for each whether it is whole:
// all five lines there and ten values in them. A damaged one (cut short at the end of the
// page, or a "cat.add" line that is no record) is in `all` with its missing values empty.
struct PageRecords {
  std::vector<StoredValues> all;
  std::vector<bool> whole;
};
PageRecords ReadPageRecords(std::string_view page_text);

// The header line of archive.txt: seven column names joined by TAB.
std::string TabCatalogHeader();

// One archive.txt line: the source path as the importer gave it, title, subject, category,
// comment, author, picdate, thumb. A TAB, CR or LF inside a value is written as a space.
std::string TabCatalogLine(std::string_view source_path, const PictureRecord& record);

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_CATALOG_LINE_H_
