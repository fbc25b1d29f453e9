// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/content_digest.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "platform/file_probe.h"

namespace lumvane {
namespace {

constexpr uint64_t kPrime = 0x100000001b3ULL;

}  // namespace

void ContentDigest::Add(std::string_view bytes) {
  size_t at = 0;
  // Complete the word in `pending_` (its bytes fill it from the low end, in order).
  for (; at < bytes.size() && size_ % 8 != 0; ++at, ++size_) {
    pending_ |= uint64_t{static_cast<unsigned char>(bytes[at])} << (8 * (size_ % 8));
    if (size_ % 8 == 7) {
      hash_ = (hash_ ^ pending_) * kPrime;
      pending_ = 0;
    }
  }
  for (; at + 8 <= bytes.size(); at += 8, size_ += 8) {
    uint64_t word = 0;
    for (int i = 7; i >= 0; --i) word = (word << 8) | static_cast<unsigned char>(bytes[at + i]);
    hash_ = (hash_ ^ word) * kPrime;
  }
  for (; at < bytes.size(); ++at, ++size_) {
    pending_ |= uint64_t{static_cast<unsigned char>(bytes[at])} << (8 * (size_ % 8));
  }
}

uint64_t ContentDigest::hash() const {
  return size_ % 8 == 0 ? hash_ : (hash_ ^ pending_ ^ (size_ << 56)) * kPrime;
}

std::optional<ContentDigest> DigestOfFile(const std::string& path, uint64_t limit) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return std::nullopt;
  ContentDigest digest;
  std::vector<char> buffer(1 << 16);
  while (digest.size() < limit) {
    const size_t want =
        static_cast<size_t>(std::min<uint64_t>(buffer.size(), limit - digest.size()));
    const ssize_t n = read(fd, buffer.data(), want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      close(fd);
      if (n < 0) return std::nullopt;
      return digest;
    }
    digest.Add(std::string_view(buffer.data(), static_cast<size_t>(n)));
  }
  close(fd);
  return digest;
}

}  // namespace lumvane
