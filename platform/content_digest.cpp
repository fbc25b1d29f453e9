#include "platform/content_digest.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

#include "platform/file_probe.h"

namespace lumvane {

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
