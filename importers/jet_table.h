// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of one table of a Jet database (.mdb), read through libmdb in a child process, so
// that a damaged file can neither crash the program nor write on its terminal.
#ifndef LUMVANE_IMPORTERS_JET_TABLE_H_
#define LUMVANE_IMPORTERS_JET_TABLE_H_

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/child_process.h"

namespace lumvane {

class JetTable {
 public:
  struct Cell {
    bool null = true;
    std::string text;  // UTF-8; dates as "yyyy-mm-dd hh:mm:ss"
  };

  // `patience`: how long the child may send nothing before it is taken to hang (libmdb loops
  // for ever on some damaged files) and is ended.
  explicit JetTable(std::chrono::milliseconds patience = std::chrono::seconds(30))
      : patience_(patience) {}
  JetTable(const JetTable&) = delete;
  JetTable& operator=(const JetTable&) = delete;

  // Opens the table named exactly `table` (letter case counting) with the columns `columns`,
  // found by name as the database engine finds them (letter case ignored). kNotFound: no
  // such table; kInvalidInput: the message is the first column not found; otherwise the
  // message is libmdb's reason, or "".
  Status Open(const std::string& path, const std::string& table,
              const std::vector<std::string>& columns);

  // What runs in the child: it writes its messages to `out`; what it prints goes to a file
  // of which the parent keeps the first 64 KB.
  using ChildReader = ChildProcess::Body;

  // Open, with `reader` in the child in place of libmdb's reading (for tests and fuzzing of
  // the parent's side). The child runs under limits: no core file, 1 GB of address space,
  // a minute of processor time, 64 KB of printing; a child that prints that much and sends
  // nothing is ended.
  Status OpenWith(const ChildReader& reader, size_t columns);

  // The table's row count as its definition states it.
  long row_count() const { return row_count_; }

  // True with the next row's cells in the order of the columns asked for; false at the end of
  // the table; a failure says why reading failed (never empty).
  StatusOr<bool> Next(std::vector<Cell>* row);

 private:
  bool ReadMessage(char* kind, std::string* text);
  bool ReadMore();
  std::string ChildFailure();

  ChildProcess child_;  // sends the table's messages
  std::string buffered_;
  size_t taken_ = 0;  // bytes of buffered_ already read
  std::chrono::milliseconds patience_;
  std::chrono::steady_clock::time_point last_heard_;  // the child's last bytes
  size_t columns_ = 0;
  long row_count_ = 0;
  std::string error_;  // why the last read failed
};

// Values longer than this (memos of a megabyte) are cut by libmdb.
inline constexpr size_t kJetBindSize = 1 << 20;

// The child's side: reads the table through libmdb and writes its messages to `out`, the last
// one saying how it ended; values are cut at `bind_size` bytes. Runs in the reader's child, or
// in a fuzzer.
void ReadJetTable(int out, const std::string& path, const std::string& table,
                  const std::vector<std::string>& columns, size_t bind_size = kJetBindSize);

// The messages from the child: a kind byte, a 32-bit length and that many bytes. Takes the next
// whole message from the front of `stream`; false when none is whole yet, or when its length
// is past any message's (then `*broken`).
bool TakeMessage(std::string_view* stream, char* kind, std::string* text, bool* broken);

// The cells of a row message for `columns` columns: each a NULL byte ('1' for NULL) and its
// text, framed as a message; cells the message lacks are NULL.
std::vector<JetTable::Cell> DecodeRow(std::string_view message, size_t columns);

}  // namespace lumvane

#endif  // LUMVANE_IMPORTERS_JET_TABLE_H_
