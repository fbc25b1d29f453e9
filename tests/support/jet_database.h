// SPDX-License-Identifier: GPL-3.0-or-later
// Jet databases (Access 97 "Jet 3" and Access 2000 "Jet 4" .mdb files) written byte by byte,
// as much of the format as a reader of tables needs: the header, the system catalog, table
// definitions, usage maps, data pages and long-value pages for memos. No indexes.
#ifndef LUMVANE_TESTS_SUPPORT_JET_DATABASE_H_
#define LUMVANE_TESTS_SUPPORT_JET_DATABASE_H_

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

class JetDatabase {
 public:
  enum class Type : uint8_t { kLong = 4, kDate = 8, kText = 10, kOle = 11, kMemo = 12 };
  struct Column {
    std::string name;
    Type type;
  };
  // One value per column; nullopt is NULL. Texts and memos: Windows-1252 bytes in Jet 3,
  // UTF-8 in Jet 4. Dates: days since December 30, 1899, as a decimal ("36526.5"). Longs:
  // a decimal.
  using Row = std::vector<std::optional<std::string>>;
  struct Table {
    std::string name;
    std::vector<Column> columns;
    std::vector<Row> rows;
  };

  explicit JetDatabase(int jet_version) : jet4_(jet_version == 4) {}
  JetDatabase& Add(Table table) {
    tables_.push_back(std::move(table));
    return *this;
  }

  std::string Bytes() const {
    std::vector<std::string> pages(3 + tables_.size(), Page());
    std::vector<std::vector<std::string>> table_rows(tables_.size() + 1);
    Table catalog = CatalogTable();
    table_rows[0] = EncodeRows(catalog, pages);
    for (size_t t = 0; t < tables_.size(); ++t) table_rows[t + 1] = EncodeRows(tables_[t], pages);
    std::vector<std::string> maps;
    for (size_t t = 0; t <= tables_.size(); ++t) {
      const uint32_t tdef = static_cast<uint32_t>(2 + t),
                     first = static_cast<uint32_t>(pages.size());
      const uint32_t count = PackRows(table_rows[t], tdef, pages);
      std::string usage =
          std::string(1, '\0') + Le32(first) + std::string((count + 7) / 8 + 1, '\0');
      for (uint32_t p = 0; p < count; ++p) usage[5 + p / 8] |= static_cast<char>(1 << (p % 8));
      maps.push_back(usage);
      maps.push_back(std::string(1, '\0') + Le32(0) + std::string(1, '\0'));
    }
    pages[1] = DataPage(maps, 0, false);
    pages[2] = TableDefinition(catalog, 0);
    for (size_t t = 0; t < tables_.size(); ++t) pages[3 + t] = TableDefinition(tables_[t], t + 1);
    pages[0] = Header();
    std::string bytes;
    for (const std::string& page : pages) bytes += page;
    return bytes;
  }

  size_t page_size() const { return jet4_ ? 4096 : 2048; }

 private:
  std::string Page() const { return std::string(page_size(), '\0'); }
  size_t row_count_offset() const { return jet4_ ? 12 : 8; }

  static std::string Le16(uint32_t v) { return {static_cast<char>(v), static_cast<char>(v >> 8)}; }
  static std::string Le32(uint32_t v) { return Le16(v) + Le16(v >> 16); }
  static void Put(std::string& bytes, size_t at, const std::string& value) {
    bytes.replace(at, value.size(), value);
  }

  // UTF-8 to UTF-16LE (Jet 4 texts); Jet 3 texts are stored as given.
  std::string Stored(const std::string& text) const {
    if (!jet4_) return text;
    std::string out;
    for (size_t i = 0; i < text.size();) {
      const auto c = static_cast<unsigned char>(text[i]);
      const int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
      uint32_t code = extra == 0 ? c : c & (0x3F >> extra);
      for (int k = 1; k <= extra; ++k) code = (code << 6) | (text[i + k] & 0x3F);
      i += extra + 1;
      if (code >= 0x10000) {
        code -= 0x10000;
        out += Le16(0xD800 + (code >> 10)) + Le16(0xDC00 + (code & 0x3FF));
      } else {
        out += Le16(code);
      }
    }
    return out;
  }

  static bool Fixed(Type type) { return type == Type::kLong || type == Type::kDate; }
  static size_t FixedSize(Type type) { return type == Type::kLong ? 4 : 8; }

  Table CatalogTable() const {
    Table catalog{"MSysObjects",
                  {{"Id", Type::kLong},
                   {"ParentId", Type::kLong},
                   {"Name", Type::kText},
                   {"Type", Type::kLong},
                   {"Flags", Type::kLong},
                   {"LvProp", Type::kOle}},
                  {}};
    catalog.rows.push_back({"2", "0", "MSysObjects", "1", "-2147483646", std::nullopt});
    for (size_t t = 0; t < tables_.size(); ++t) {
      catalog.rows.push_back({std::to_string(3 + t), "0", tables_[t].name, "1", "0", std::nullopt});
    }
    return catalog;
  }

  // Rows of `table` encoded; memos too long to stay in their row go to long-value pages
  // appended to `pages`.
  std::vector<std::string> EncodeRows(const Table& table, std::vector<std::string>& pages) const {
    std::vector<std::string> rows;
    for (const Row& row : table.rows) rows.push_back(EncodeRow(table.columns, row, pages));
    return rows;
  }

  std::string EncodeRow(const std::vector<Column>& columns, const Row& row,
                        std::vector<std::string>& pages) const {
    const size_t count_size = jet4_ ? 2 : 1, fixed_total = FixedTotal(columns);
    std::string fixed, variable;
    std::vector<uint32_t> offsets;  // from the row's start
    std::string nulls((columns.size() + 7) / 8, '\0');
    for (size_t c = 0; c < columns.size(); ++c) {
      const auto& value = row[c];
      if (value) nulls[c / 8] |= static_cast<char>(1 << (c % 8));
      if (Fixed(columns[c].type)) {
        std::string bytes(FixedSize(columns[c].type), '\0');
        if (value && columns[c].type == Type::kLong) {
          bytes = Le32(static_cast<uint32_t>(std::stoll(*value)));
        }
        if (value && columns[c].type == Type::kDate) {
          const double days = std::stod(*value);
          std::memcpy(bytes.data(), &days, 8);
        }
        fixed += bytes;
        continue;
      }
      offsets.push_back(static_cast<uint32_t>(count_size + fixed_total + variable.size()));
      if (!value) continue;
      variable += columns[c].type == Type::kMemo ? Memo(Stored(*value), pages) : Stored(*value);
    }
    const uint32_t data_end = static_cast<uint32_t>(count_size + fixed_total + variable.size());
    const std::string row_bytes = (jet4_ ? Le16(static_cast<uint32_t>(columns.size()))
                                         : std::string(1, static_cast<char>(columns.size()))) +
                                  fixed + variable;
    offsets.push_back(data_end);
    return row_bytes + Trailer(offsets, nulls);
  }

  static size_t FixedTotal(const std::vector<Column>& columns) {
    size_t total = 0;
    for (const Column& column : columns) total += Fixed(column.type) ? FixedSize(column.type) : 0;
    return total;
  }

  // The end of a row: variable-column offsets (the data's end last) in reverse order, in Jet 3
  // with the jump table for rows of 256 bytes or more, the variable-column count, the NULL mask.
  std::string Trailer(const std::vector<uint32_t>& offsets, const std::string& nulls) const {
    const uint32_t n = static_cast<uint32_t>(offsets.size() - 1);
    std::string trailer;
    if (jet4_) {
      for (size_t i = offsets.size(); i-- > 0;) trailer += Le16(offsets[i]);
      return trailer + Le16(n) + nulls;
    }
    const uint32_t data_end = offsets.back();
    uint32_t jumps = 0;
    for (;;) {
      const uint32_t length = data_end + (n + 1) + jumps + 1 + static_cast<uint32_t>(nulls.size());
      if ((length - 1) / 256 == jumps) break;
      jumps = (length - 1) / 256;
    }
    for (size_t i = offsets.size(); i-- > 0;) trailer += static_cast<char>(offsets[i] & 0xFF);
    std::string table(jumps, '\0');  // table[j] lies j bytes before the count
    for (uint32_t j = 0; j < jumps; ++j) {
      uint32_t first = 0xFF;
      for (uint32_t i = 0; i <= n; ++i) {
        if (offsets[i] >= 256 * (j + 1)) {
          first = i;
          break;
        }
      }
      table[jumps - 1 - j] = static_cast<char>(first);
    }
    return trailer + table + static_cast<char>(n) + nulls;
  }

  // The 12 bytes of a memo in its row (and its text after them when it stays in the row).
  std::string Memo(const std::string& text, std::vector<std::string>& pages) const {
    const uint32_t length = static_cast<uint32_t>(text.size());
    if (text.size() <= 512) return Le32(length | 0x80000000u) + Le32(0) + Le32(0) + text;
    const size_t room = page_size() - row_count_offset() - 4 - 8;
    if (text.size() <= room) {
      pages.push_back(DataPage({text}, 0, true));
      return Le32(length | 0x40000000u) + Le32(PageRow(pages.size() - 1, 0)) + Le32(0);
    }
    const size_t chunk = room - 4;
    const size_t parts = (text.size() + chunk - 1) / chunk;
    const size_t first = pages.size();
    for (size_t k = 0; k < parts; ++k) {
      const uint32_t next = k + 1 < parts ? PageRow(first + k + 1, 0) : 0;
      pages.push_back(DataPage({Le32(next) + text.substr(k * chunk, chunk)}, 0, true));
    }
    return Le32(length) + Le32(PageRow(first, 0)) + Le32(0);
  }

  static uint32_t PageRow(size_t page, uint32_t row) {
    return static_cast<uint32_t>(page << 8) | row;
  }

  // A data page (or, with `long_values`, a long-value page) holding `rows`.
  std::string DataPage(const std::vector<std::string>& rows, uint32_t tdef,
                       bool long_values) const {
    std::string page = Page();
    page[0] = 1;
    page[1] = 1;
    Put(page, 4, long_values ? std::string("LVAL") : Le32(tdef));
    size_t position = page_size();
    Put(page, row_count_offset(), Le16(static_cast<uint32_t>(rows.size())));
    for (size_t k = 0; k < rows.size(); ++k) {
      position -= rows[k].size();
      Put(page, position, rows[k]);
      Put(page, row_count_offset() + 2 + 2 * k, Le16(static_cast<uint32_t>(position)));
    }
    const size_t header = row_count_offset() + 2 + 2 * rows.size();
    Put(page, 2, Le16(static_cast<uint32_t>(position - header)));
    return page;
  }

  // Packs `rows` into data pages of the table defined on page `tdef`; how many pages.
  uint32_t PackRows(const std::vector<std::string>& rows, uint32_t tdef,
                    std::vector<std::string>& pages) const {
    uint32_t count = 0;
    std::vector<std::string> on_page;
    size_t used = row_count_offset() + 2;
    for (const std::string& row : rows) {
      if (used + row.size() + 2 > page_size()) {
        pages.push_back(DataPage(on_page, tdef, false));
        ++count;
        on_page.clear();
        used = row_count_offset() + 2;
      }
      on_page.push_back(row);
      used += row.size() + 2;
    }
    if (!on_page.empty() || count == 0) {
      pages.push_back(DataPage(on_page, tdef, false));
      ++count;
    }
    return count;
  }

  std::string TableDefinition(const Table& table, size_t index) const {
    std::string page = Page();
    page[0] = 2;
    page[1] = 1;
    if (!jet4_) Put(page, 2, "VC");
    const size_t base = jet4_ ? 63 : 43, entry = jet4_ ? 25 : 18;
    uint32_t var_count = 0;
    for (const Column& column : table.columns) var_count += Fixed(column.type) ? 0 : 1;
    const uint32_t columns = static_cast<uint32_t>(table.columns.size());
    const size_t counts = jet4_ ? 41 : 21;
    Put(page, jet4_ ? 16 : 12, Le32(static_cast<uint32_t>(table.rows.size())));
    page[jet4_ ? 40 : 20] = index == 0 ? 0x53 : 0x4E;
    Put(page, counts, Le16(columns) + Le16(var_count) + Le16(columns) + Le32(0) + Le32(0));
    Put(page, counts + 14,
        Le32(PageRow(1, static_cast<uint32_t>(2 * index))) +
            Le32(PageRow(1, static_cast<uint32_t>(2 * index + 1))));
    size_t at = base, fixed_offset = 0;
    uint32_t var_index = 0;
    for (uint32_t c = 0; c < columns; ++c, at += entry) {
      const Column& column = table.columns[c];
      const bool fixed = Fixed(column.type);
      const bool text = column.type == Type::kText || column.type == Type::kMemo;
      const uint32_t size = fixed ? static_cast<uint32_t>(FixedSize(column.type))
                            : column.type == Type::kText ? (jet4_ ? 510 : 255)
                                                         : 0;
      page[at] = static_cast<char>(column.type);
      Put(page, at + (jet4_ ? 5 : 1), Le16(c) + Le16(fixed ? 0 : var_index) + Le16(c));
      if (text) Put(page, at + (jet4_ ? 11 : 7), Le16(0x409) + Le16(jet4_ ? 0 : 1252));
      page[at + (jet4_ ? 15 : 13)] = static_cast<char>((fixed ? 0x01 : 0) | 0x02);
      Put(page, at + (jet4_ ? 21 : 14),
          Le16(static_cast<uint32_t>(fixed ? fixed_offset : 0)) + Le16(size));
      if (fixed) fixed_offset += FixedSize(column.type);
      if (!fixed) ++var_index;
    }
    for (const Column& column : table.columns) {
      const std::string name = Stored(column.name);
      const std::string length = jet4_ ? Le16(static_cast<uint32_t>(name.size()))
                                       : std::string(1, static_cast<char>(name.size()));
      Put(page, at, length + name);
      at += length.size() + name.size();
    }
    Put(page, at, "\xFF\xFF");
    Put(page, 8, Le32(static_cast<uint32_t>(at + 2 - 8)));
    return page;
  }

  std::string Header() const {
    std::string page = Page();
    Put(page, 0, std::string("\x00\x01\x00\x00Standard Jet DB", 19));
    page[0x14] = jet4_ ? 1 : 0;
    const size_t length = jet4_ ? 128 : 126;
    std::string plain(length, '\0');
    Put(plain, (jet4_ ? 0x6E : 0x3A) - 0x18, Le16(0x409));
    Put(plain, 0x3C - 0x18, Le16(1252));
    Put(page, 0x18, Rc4({0xC7, 0xDA, 0x39, 0x6B}, plain));
    return page;
  }

  static std::string Rc4(const std::vector<uint8_t>& key, std::string bytes) {
    uint8_t s[256];
    for (int i = 0; i < 256; ++i) s[i] = static_cast<uint8_t>(i);
    for (int i = 0, j = 0; i < 256; ++i) {
      j = (j + s[i] + key[i % key.size()]) & 0xFF;
      std::swap(s[i], s[j]);
    }
    for (size_t k = 0, i = 0, j = 0; k < bytes.size(); ++k) {
      i = (i + 1) & 0xFF;
      j = (j + s[i]) & 0xFF;
      std::swap(s[i], s[j]);
      bytes[k] = static_cast<char>(bytes[k] ^ s[(s[i] + s[j]) & 0xFF]);
    }
    return bytes;
  }

  bool jet4_;
  std::vector<Table> tables_;
};

// A PhotoRecall picture table: an "ID" column, then the seven the reader takes.
inline JetDatabase::Table PicInfoTable(std::vector<JetDatabase::Row> rows,
                                       const std::string& name = "GA_PicInfo") {
  using Type = JetDatabase::Type;
  return {name,
          {{"ID", Type::kLong},
           {"Source", Type::kText},
           {"Name", Type::kText},
           {"DATA1", Type::kText},
           {"DATA2", Type::kText},
           {"Description", Type::kMemo},
           {"MEMO1", Type::kMemo},
           {"DateCreated", Type::kDate}},
          std::move(rows)};
}

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_JET_DATABASE_H_
