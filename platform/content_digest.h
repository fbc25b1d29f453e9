// SPDX-License-Identifier: GPL-3.0-or-later
// A short digest of bytes (64-bit FNV-1a over words) and their count, to tell whether a file is
// still the one that was read. Not a cryptographic hash: it guards against accidents, not
// attackers.
#ifndef LUMVANE_PLATFORM_CONTENT_DIGEST_H_
#define LUMVANE_PLATFORM_CONTENT_DIGEST_H_

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace lumvane {

class ContentDigest {
 public:
  // Adds `bytes`; the digest is the same however the bytes are cut into calls.
  void Add(std::string_view bytes);
  uint64_t hash() const;
  uint64_t size() const { return size_; }
  bool operator==(const ContentDigest& other) const {
    return size_ == other.size_ && hash() == other.hash();
  }

 private:
  // FNV-1a over eight bytes at a time: the bytes not yet a whole word wait in `pending_`.
  uint64_t hash_ = 0xcbf29ce484222325ULL;
  uint64_t pending_ = 0;
  uint64_t size_ = 0;
};

// The digest of the first `limit` bytes of the regular file at `path` (never blocking on a
// FIFO or device); nullopt when it is missing or cannot be read.
std::optional<ContentDigest> DigestOfFile(const std::string& path, uint64_t limit = UINT64_MAX);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_CONTENT_DIGEST_H_
