// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the parent's side of the .mdb reader: the messages of its child, arbitrary bytes in
// place of libmdb's rows, taken apart as the parent takes them.
#include <cstdint>
#include <string>
#include <string_view>

#include "importers/jet_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view stream(reinterpret_cast<const char*>(data), size);
  char kind = 0;
  std::string text;
  bool broken = false;
  while (lumvane::TakeMessage(&stream, &kind, &text, &broken)) {
    if (kind == 'R' && lumvane::DecodeRow(text, 7).size() != 7) __builtin_trap();
  }
  return 0;
}
