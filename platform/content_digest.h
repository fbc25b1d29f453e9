// A short digest of bytes (64-bit FNV-1a) and their count, to tell whether a file is still the
// one that was read. Not a cryptographic hash: it guards against accidents, not attackers.
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
  void Add(std::string_view bytes) {
    for (const char c : bytes) {
      hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 0x100000001b3ULL;
    }
    size_ += bytes.size();
  }
  uint64_t hash() const { return hash_; }
  uint64_t size() const { return size_; }
  bool operator==(const ContentDigest&) const = default;

 private:
  uint64_t hash_ = 0xcbf29ce484222325ULL;
  uint64_t size_ = 0;
};

// The digest of the first `limit` bytes of the regular file at `path` (never blocking on a
// FIFO or device); nullopt when it is missing or cannot be read.
std::optional<ContentDigest> DigestOfFile(const std::string& path, uint64_t limit = UINT64_MAX);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_CONTENT_DIGEST_H_
