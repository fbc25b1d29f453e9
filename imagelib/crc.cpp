// SPDX-License-Identifier: GPL-3.0-or-later
#include <zlib.h>

#include <cstdint>
#include <cstring>

#include "imagelib/name_alphabet.h"
#include "imagelib/vantle.h"

namespace {
constexpr int kCodeLength = 7;
}  // namespace

extern "C" __attribute__((visibility("default"))) int crc(char* key) {
  if (key == nullptr) return -1;
  const size_t length = std::strlen(key);
  if (length < kCodeLength) return -1;
  const uLong checksum =
      crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(key), static_cast<uInt>(length));
  // 32 bits followed by three zero bits make 35 bits: seven base-32 digits, the last one
  // always 0, 8, 16 or 24.
  uint64_t value = static_cast<uint64_t>(checksum) << 3;
  for (int i = kCodeLength - 1; i >= 0; --i) {
    key[i] = vantle::kNameAlphabet[value & 31];
    value >>= 5;
  }
  return 0;
}
