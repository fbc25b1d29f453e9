// SPDX-License-Identifier: GPL-3.0-or-later
// The child's side of JetTable: reads the table with libmdb and sends its rows as framed
// messages.
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

// clang-format off
#include <glib.h>  // before mdbtools.h, whose extern "C" would otherwise enclose glib's C++ parts
#include <mdbtools.h>
// clang-format on

#include "importers/jet_table.h"

namespace lumvane {
namespace {

// A tag byte, a 32-bit length and that many bytes: the frame of a message and of each value
// in a row.
void AppendFramed(std::string* out, char tag, std::string_view bytes) {
  const uint32_t length = static_cast<uint32_t>(bytes.size());
  *out += tag;
  out->append(reinterpret_cast<const char*>(&length), 4);
  out->append(bytes);
}

// The child's side: messages of a kind byte and their text, framed.
void Send(int out, char kind, const std::string& text) {
  std::string message;
  AppendFramed(&message, kind, text);
  SendToParent(out, message);
}

// Whether the table at `entry` has a usage map: libmdb reads rows through it without looking
// whether there is one.
bool HasUsageMap(MdbCatalogEntry* entry) {
  MdbTableDef* table = mdb_read_table(entry);
  const bool has = table != nullptr && table->usage_map != nullptr && table->map_sz > 0;
  if (table != nullptr) mdb_free_tabledef(table);
  return has;
}

// Whether libmdb can read the list of tables, which is the table on page 2.
bool CatalogReadable(MdbHandle* mdb) {
  MdbCatalogEntry catalog{};
  catalog.mdb = mdb;
  catalog.object_type = MDB_TABLE;
  catalog.table_pg = 2;
  std::strcpy(catalog.object_name, "MSysObjects");
  return HasUsageMap(&catalog);
}

MdbCatalogEntry* TableNamed(MdbHandle* mdb, const std::string& name) {
  for (guint i = 0; mdb->catalog != nullptr && i < mdb->catalog->len; ++i) {
    auto* entry = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
    if (entry->object_type == MDB_TABLE && name == entry->object_name) return entry;
  }
  return nullptr;
}

// Each row as one message: per column a NULL byte and the value, framed. The last message:
// 'D', or 'E' when fewer rows than the table counts can be read.
void SendRows(int out, MdbHandle* mdb, MdbTableDef* table, const std::vector<int>& indexes,
              size_t bind_size) {
  // libmdb writes at most the bind size into each; the pages nothing is written to are never
  // touched.
  const auto values = std::make_unique_for_overwrite<char[]>(indexes.size() * (bind_size + 1));
  std::vector<int> lengths(indexes.size());
  for (size_t c = 0; c < indexes.size(); ++c) {
    mdb_bind_column(table, indexes[c] + 1, &values[c * (bind_size + 1)], &lengths[c]);
  }
  std::vector<MdbField> fields(table->num_cols);
  mdb_rewind_table(table);
  unsigned long fetched = 0;
  while (mdb_fetch_row(table)) {
    ++fetched;
    int start = 0;
    size_t size = 0;
    mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &size);
    mdb_crack_row(table, start & 0x1fff, size, fields.data());
    std::string row;
    for (size_t c = 0; c < indexes.size(); ++c) {
      const bool null = fields[indexes[c]].is_null != 0;
      const size_t length = null ? 0 : static_cast<size_t>(std::max(lengths[c], 0));
      AppendFramed(&row, null ? '1' : '0',
                   std::string_view(&values[c * (bind_size + 1)], std::min(length, bind_size)));
    }
    Send(out, 'R', row);
  }
  if (fetched < table->num_rows) {  // libmdb ends a table quietly where its pages cannot be read
    return Send(out, 'E',
                "only " + std::to_string(fetched) + " of its " + std::to_string(table->num_rows) +
                    " rows can be read");
  }
  Send(out, 'D', "");
}

}  // namespace

void ReadJetTable(int out, const std::string& path, const std::string& name,
                  const std::vector<std::string>& columns, size_t bind_size) {
  MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
  if (mdb == nullptr) return Send(out, 'E', "");
  const std::unique_ptr<MdbHandle, void (*)(MdbHandle*)> close_mdb(mdb, mdb_close);
  mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
  mdb_set_bind_size(mdb, static_cast<int>(bind_size));
  if (!CatalogReadable(mdb) || mdb_read_catalog(mdb, MDB_TABLE) == nullptr) {
    return Send(out, 'E', "its list of tables cannot be read");
  }
  MdbCatalogEntry* entry = TableNamed(mdb, name);
  if (entry == nullptr) return Send(out, 'N', "");
  if (!HasUsageMap(entry)) return Send(out, 'E', "the table " + name + " cannot be read");
  MdbTableDef* table = mdb_read_table(entry);
  if (table == nullptr) return Send(out, 'E', "the table " + name + " cannot be read");
  const std::unique_ptr<MdbTableDef, void (*)(MdbTableDef*)> free_table(table, mdb_free_tabledef);
  if (mdb_read_columns(table) == nullptr) {
    return Send(out, 'E', "the table " + name + " cannot be read");
  }
  std::vector<int> indexes;
  for (const std::string& wanted : columns) {
    int found = -1;
    for (guint i = 0; i < table->num_cols && found < 0; ++i) {
      auto* column = static_cast<MdbColumn*>(g_ptr_array_index(table->columns, i));
      if (g_ascii_strcasecmp(column->name, wanted.c_str()) == 0) found = static_cast<int>(i);
    }
    if (found < 0) return Send(out, 'M', wanted);
    indexes.push_back(found);
  }
  Send(out, 'O', std::to_string(table->num_rows));
  SendRows(out, mdb, table, indexes, bind_size);
}

}  // namespace lumvane
