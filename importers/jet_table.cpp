// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/jet_table.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace lumvane {
namespace {

constexpr uint32_t kLongestMessage = 64u << 20;
constexpr size_t kPrintedKept = 64 << 10;
// How often a waiting parent looks whether the child is stuck printing.
constexpr std::chrono::milliseconds kSlice(250);

}  // namespace

Status JetTable::Open(const std::string& path, const std::string& table,
                      const std::vector<std::string>& columns) {
  return OpenWith([&](int out) { ReadJetTable(out, path, table, columns); }, columns.size());
}

Status JetTable::OpenWith(const ChildReader& reader, size_t columns) {
  columns_ = columns;
  if (Status started = child_.Start(reader, kPrintedKept); !started.ok()) return started;
  last_heard_ = std::chrono::steady_clock::now();
  buffered_.clear();
  taken_ = 0;
  char kind = 0;
  std::string text;
  if (!ReadMessage(&kind, &text)) return Status::Error(StatusCode::kDamaged, error_);
  switch (kind) {
    case 'O':
      row_count_ = std::strtol(text.c_str(), nullptr, 10);
      return Status::Ok();
    case 'N':
      return Status::Error(StatusCode::kNotFound, "no such table");
    case 'M':
      return Status::Error(StatusCode::kInvalidInput, text);
    default:  // libmdb's own words when it has any: it names no reason for most files
      return Status::Error(StatusCode::kDamaged,
                           kind == 'E' && !text.empty() ? text : child_.FirstPrintedLine());
  }
}

// `count` bytes from the child, waiting for them at most the patience at a time.
bool TakeMessage(std::string_view* stream, char* kind, std::string* text, bool* broken) {
  uint32_t length = 0;
  if (stream->size() < 5) return false;
  std::memcpy(&length, stream->data() + 1, 4);
  if (length > kLongestMessage) {
    *broken = true;
    return false;
  }
  if (stream->size() - 5 < length) return false;
  *kind = (*stream)[0];
  text->assign(stream->substr(5, length));
  stream->remove_prefix(5 + length);
  return true;
}

std::vector<JetTable::Cell> DecodeRow(std::string_view message, size_t columns) {
  std::vector<JetTable::Cell> row(columns);
  for (JetTable::Cell& cell : row) {
    bool broken = false;
    char null = 0;
    if (!TakeMessage(&message, &null, &cell.text, &broken)) break;
    cell.null = null == '1';
  }
  return row;
}

// Reads what the child has sent, waiting at most the patience; false (error_ set) when the
// child ended, hangs, or only prints.
bool JetTable::ReadMore() {
  while (true) {
    buffered_.erase(0, taken_);
    taken_ = 0;
    switch (child_.ReadSome(&buffered_, std::min<std::chrono::milliseconds>(patience_, kSlice))) {
      case ChildProcess::Read::kData:
        last_heard_ = std::chrono::steady_clock::now();
        return true;
      case ChildProcess::Read::kEnded:
        error_ = ChildFailure();
        return false;
      case ChildProcess::Read::kQuiet:
        break;
    }
    const bool stuck = child_.PrintedItsFill();
    if (!stuck && std::chrono::steady_clock::now() - last_heard_ < patience_) continue;
    error_ = stuck ? "its reader printed warnings without reading a row"
                   : "its reader stopped answering";
    child_.End();
    return false;
  }
}

bool JetTable::ReadMessage(char* kind, std::string* text) {
  while (true) {
    std::string_view stream = std::string_view(buffered_).substr(taken_);
    bool broken = false;
    if (TakeMessage(&stream, kind, text, &broken)) {
      taken_ = buffered_.size() - stream.size();
      return true;
    }
    if (broken) {
      error_ = ChildFailure();
      return false;
    }
    if (!ReadMore()) return false;
  }
}

StatusOr<bool> JetTable::Next(std::vector<Cell>* row) {
  char kind = 0;
  std::string message;
  if (!ReadMessage(&kind, &message)) return Status::Error(StatusCode::kDamaged, error_);
  if (kind != 'R') {
    const std::string reason = kind == 'D' || !message.empty() ? message : ChildFailure();
    child_.End();
    if (kind == 'D') return false;
    return Status::Error(StatusCode::kDamaged, reason);
  }
  *row = DecodeRow(message, columns_);
  return true;
}

// Why the child ended without its last message: what it printed, or how it ended.
std::string JetTable::ChildFailure() {
  std::string reason = child_.HowItEnded();
  return reason.empty() ? "its reader ended early" : reason;
}

}  // namespace lumvane
