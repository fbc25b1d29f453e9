// SPDX-License-Identifier: GPL-3.0-or-later
#include "locations/case_insensitive_finder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_system.h"
#include "platform/paths.h"

namespace lumvane {
namespace {

char Folded(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Paths followed at once: names in many letter cases are a damaged disk, not photos.
constexpr size_t kMostCandidates = 64;

}  // namespace

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return Folded(x) == Folded(y); });
}

const std::vector<std::string>& CaseInsensitiveFinder::NamesOf(const std::string& folder) {
  const auto known = listings_.find(folder);
  if (known != listings_.end()) return known->second;
  std::vector<std::string>& names = listings_[folder];
  std::error_code error;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error)) {
    names.push_back(it->path().filename().string());
  }
  return names;
}

CaseInsensitiveFinder::Found CaseInsensitiveFinder::Find(const std::string& root,
                                                         std::string_view relative) {
  std::string as_given = root;
  for (std::string_view name : CatalogPathNames(relative)) as_given = JoinPath(as_given, name);
  if (NameTaken(as_given)) return {Found::kFound, as_given};
  // Every folder a name could mean is looked in: an empty "photos" beside the "PHOTOS" that
  // holds the picture hides nothing.
  std::vector<std::string> candidates = {root};
  for (std::string_view name : CatalogPathNames(relative)) {
    std::vector<std::string> next;
    for (const std::string& folder : candidates) {
      const std::string exact = JoinPath(folder, name);
      for (const std::string& n : NamesOf(folder)) {
        if (SameIgnoringCase(n, name)) next.push_back(JoinPath(folder, n));
      }
      // A folder that may be searched but not listed still gives its exact names.
      if (std::find(next.begin(), next.end(), exact) == next.end() && NameTaken(exact)) {
        next.push_back(exact);
      }
      if (next.size() > kMostCandidates) break;
    }
    candidates = std::move(next);
    if (candidates.empty()) return {Found::kMissing, as_given};
  }
  if (candidates.size() == 1) return {Found::kFound, candidates.front()};
  return {Found::kAmbiguous, as_given};
}

}  // namespace lumvane
