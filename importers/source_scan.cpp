// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/source_scan.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "platform/directory_listing.h"
#include "platform/file_time.h"
#include "platform/paths.h"
#include "processing/naming.h"

namespace lumvane {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
char Fold(char c) {
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// Compares the digit runs starting at a[i] and b[j] as numbers; advances past both.
int CompareNumbers(const std::string& a, size_t& i, const std::string& b, size_t& j) {
  while (i < a.size() && a[i] == '0') ++i;
  while (j < b.size() && b[j] == '0') ++j;
  const size_t start_a = i, start_b = j;
  while (i < a.size() && IsDigit(a[i])) ++i;
  while (j < b.size() && IsDigit(b[j])) ++j;
  const size_t length_a = i - start_a, length_b = j - start_b;
  if (length_a != length_b) return length_a < length_b ? -1 : 1;
  const int order = a.compare(start_a, length_a, b, start_b, length_b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int NaturalCompare(const std::string& a, const std::string& b) {
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      if (const int order = CompareNumbers(a, i, b, j); order != 0) return order;
      continue;
    }
    const char x = Fold(a[i++]), y = Fold(b[j++]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return 0;
}

std::string Stem(const std::string& name) {
  std::string stem = name.substr(0, name.rfind('.'));
  for (char& c : stem) c = Fold(c);
  return stem;
}

bool EndsWithOneOf(const std::string& name, std::initializer_list<const char*> extensions) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot + 1);
  for (char& c : extension) c = Fold(c);
  for (const char* e : extensions) {
    if (extension == e) return true;
  }
  return false;
}

bool IsStill(const std::string& name) {
  return EndsWithOneOf(name, {"jpg", "jpeg", "heic", "heif", "hif"});
}
bool IsLiveClip(const std::string& name) {
  return EndsWithOneOf(name, {"mov", "mp4"});
}
bool IsRaw(const std::string& name) {
  return EndsWithOneOf(
      name, {"cr2", "cr3", "nef", "nrw", "arw", "sr2", "orf", "rw2", "raf", "pef", "srw", "dng"});
}

// The companion of the still `picture` among `names` of its stem, "" for none.
std::string CompanionOf(const std::string& picture, const std::vector<std::string>& names,
                        bool pair_raw) {
  if (!IsStill(picture)) return "";
  for (const std::string& name : names) {
    if (IsLiveClip(name)) return name;
  }
  const bool jpeg = EndsWithOneOf(picture, {"jpg", "jpeg"});
  for (const std::string& name : names) {
    if (pair_raw && jpeg && IsRaw(name)) return name;
  }
  return "";
}

}  // namespace

std::vector<SourceGroup> GroupSourcePictures(const std::vector<std::string>& names, bool pair_raw) {
  std::map<std::string, std::vector<std::string>> by_stem;
  for (const std::string& name : names) by_stem[Stem(name)].push_back(name);
  std::vector<SourceGroup> groups;
  std::set<std::string> companions;
  for (const std::string& name : names) {
    const std::vector<std::string>& same = by_stem[Stem(name)];
    if (same.size() < 2 || companions.count(name) > 0) continue;
    const std::string companion = CompanionOf(name, same, pair_raw);
    if (!companion.empty() && companions.insert(companion).second) {
      companions.insert(name);
      groups.push_back({name, companion});
    }
  }
  std::vector<SourceGroup> ordered;
  for (const std::string& name : names) {
    if (companions.count(name) == 0) {
      ordered.push_back({name, ""});
      continue;
    }
    for (const SourceGroup& group : groups) {
      if (group.picture == name) ordered.push_back(group);
    }
  }
  return ordered;
}

bool ListedBefore(const std::string& a, const std::string& b) {
  const int order = NaturalCompare(a, b);
  return order != 0 ? order < 0 : a < b;
}

Status ListSourcePictures(const std::string& folder, bool jpeg_only,
                          std::vector<std::string>* names) {
  std::vector<std::string> all;
  if (Status status = ListFiles(folder, /*include_hidden=*/false, &all); !status.ok()) {
    return status;
  }
  for (std::string& name : all) {
    if (HasPictureExtension(name, jpeg_only)) names->push_back(std::move(name));
  }
  std::sort(names->begin(), names->end(), ListedBefore);
  return Status::Ok();
}

Status ScanSourceDirectory(ImportRun& run) {
  const std::string folder = WithTrailingSeparator(run.source_dir());
  std::vector<std::string> names;
  if (Status status = ListSourcePictures(folder, run.jpeg_only(), &names); !status.ok()) {
    return status;
  }
  const std::vector<SourceGroup> groups = GroupSourcePictures(names, run.pair_raw());
  run.ExpectPictures(static_cast<int>(groups.size()));
  for (const SourceGroup& group : groups) {
    PictureInput picture;
    picture.source = folder + group.picture;
    if (!group.companion.empty()) picture.companion = folder + group.companion;
    picture.native_path = true;
    picture.read_embedded = true;
    if (const auto changed = FileModifiedLocal(picture.source)) {
      picture.picdate = FormatLongDate(*changed);
    }
    run.Process(picture);
    if (run.StopRequested()) break;
  }
  return Status::Ok();
}

}  // namespace lumvane
