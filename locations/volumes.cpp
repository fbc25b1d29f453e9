// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/volumes.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "platform/text_encoding.h"

namespace fs = std::filesystem;

namespace lumvane {
namespace {

bool IsOctal(char c) {
  return c >= '0' && c <= '7';
}

// udev writes unsafe characters of a label as \xHH.
std::string UnescapeUdev(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
        HexDigitValue(text[i + 2]) >= 0 && HexDigitValue(text[i + 3]) >= 0) {
      out.push_back(
          static_cast<char>(HexDigitValue(text[i + 2]) * 16 + HexDigitValue(text[i + 3])));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The mounts table writes space, tab, newline and backslash as a backslash and three octal
// digits.
std::string UnescapeMounts(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() && IsOctal(text[i + 1]) && IsOctal(text[i + 2]) &&
        IsOctal(text[i + 3])) {
      out.push_back(static_cast<char>((text[i + 1] - '0') * 64 + (text[i + 2] - '0') * 8 +
                                      (text[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

// The device a mounts line names, with symbolic links resolved when it exists.
std::string ResolvedDevice(const std::string& device) {
  std::error_code error;
  const fs::path resolved = fs::canonical(device, error);
  return error ? device : resolved.string();
}

bool ListedBefore(const Volume& a, const Volume& b) {
  if ((a.mount_point == "/") != (b.mount_point == "/")) return a.mount_point == "/";
  const std::string& key_a = a.label.empty() ? a.mount_point : a.label;
  const std::string& key_b = b.label.empty() ? b.mount_point : b.label;
  return key_a != key_b ? key_a < key_b : a.mount_point < b.mount_point;
}

}  // namespace

std::vector<Volume> VolumesFrom(const std::string& mounts, const std::vector<LabelLink>& labels) {
  std::map<std::string, std::string> label_of;
  for (const LabelLink& link : labels) label_of[link.device] = UnescapeUdev(link.name);
  std::vector<Volume> volumes;
  std::istringstream lines(mounts);
  std::string line;
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string device, mount_point;
    if (!(fields >> device >> mount_point) || !device.starts_with("/dev/")) continue;
    mount_point = UnescapeMounts(mount_point);
    const bool seen = std::any_of(volumes.begin(), volumes.end(),
                                  [&](const Volume& v) { return v.mount_point == mount_point; });
    if (seen) continue;
    const auto label = label_of.find(ResolvedDevice(device));
    volumes.push_back({mount_point, label == label_of.end() ? "" : label->second});
  }
  std::sort(volumes.begin(), volumes.end(), ListedBefore);
  return volumes;
}

std::vector<Volume> MountedVolumes() {
  std::ifstream file("/proc/self/mounts");
  std::stringstream mounts;
  mounts << file.rdbuf();
  std::vector<LabelLink> labels;
  std::error_code error;
  for (fs::directory_iterator it("/dev/disk/by-label", error), end; !error && it != end;
       it.increment(error)) {
    const fs::path device = fs::canonical(it->path(), error);
    if (!error) labels.push_back({it->path().filename().string(), device.string()});
    error.clear();
  }
  return VolumesFrom(mounts.str(), labels);
}

}  // namespace lumvane
