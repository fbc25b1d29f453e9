// SPDX-License-Identifier: GPL-3.0-or-later
// The two text forms of a PictureRecord: the RecordRow of archive.htm's records block and the
// tab-delimited TabCatalogLine of archive.txt, and reading a page's records back, in today's
// rows and in the five-line statements of earlier pages.
#ifndef LUMVANE_PICTURES_CATALOG_LINE_H_
#define LUMVANE_PICTURES_CATALOG_LINE_H_

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "pictures/picture_record.h"

namespace lumvane {

// A record's values exactly as they stand between the quotes of a CatalogLine.
using StoredValues = std::array<std::string, PictureRecord::kFieldCount>;

// The record's plain fields encoded for the page (EncodeField on each).
StoredValues EncodeRecord(const PictureRecord& record);

// The record with every stored value decoded to plain text.
PictureRecord DecodeRecord(const StoredValues& values);

// The opening line of the page's records block; the block ends at a line starting "</script>".
inline constexpr std::string_view kRecordRowsOpen =
    "<script type=\"text/x-lumvane-rows\" id=\"records\">";

// One line of the records block, without its end: the values joined by TAB (ten when the
// details are empty, as earlier pages have them; eleven otherwise), where a value
// longer than one character that equals `previous`'s is written as a lone double quote (a
// folder is written once for all its pictures). Encoded values hold no TAB, quote or line break.
std::string RecordRow(const StoredValues& values, const StoredValues& previous);

// Finds every record of a page. Inside the records block each line is a RecordRow. Elsewhere
// (pages of earlier versions), a line whose first seven characters are "cat.add" starts a
// record that takes the next four lines; the k-th value is the text between the (2k-1)-th and
// 2k-th double quote. Values a damaged record lacks are empty. Lines end at CR LF, CR or LF.
std::vector<StoredValues> ReadCatalogLines(std::string_view page_text);

// What a page's line is, for a reader that takes the lines in order; `in_rows` keeps whether
// the records block is open. A line's end (CR, LF) may be there or not.
enum class PageLine { kOther, kRow, kStatement };
PageLine ClassifyPageLine(std::string_view line, bool* in_rows);

// Every record of a page, as ReadCatalogLines finds them, and for each whether it is whole:
// ten or eleven values there (and, for a statement, all five lines). A damaged one (cut short at
// the end of the page, or a "cat.add" line that is no record) is in `all` with its missing values
// empty.
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
