// SPDX-License-Identifier: GPL-3.0-or-later
// Finding a path that a catalog made on Windows names below a folder of this machine. Windows
// ignores letter case, so the catalog may write "PHOTOS\A.JPG" for Photos/a.jpg; each name is
// taken as it is or, failing that, as any name of its folder that differs in letter case only,
// every such folder looked in. Folder listings are kept, so that the pictures of one folder
// list it once. Not thread-safe.
#ifndef LUMVANE_LOCATIONS_CASE_INSENSITIVE_FINDER_H_
#define LUMVANE_LOCATIONS_CASE_INSENSITIVE_FINDER_H_

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace lumvane {

// The names equal when letter case is ignored (ASCII letters; other characters as they are).
bool SameIgnoringCase(std::string_view a, std::string_view b);

class CaseInsensitiveFinder {
 public:
  struct Found {
    enum Outcome { kFound, kMissing, kAmbiguous };
    Outcome outcome = kMissing;
    std::string path;  // kFound: the path on disk; else `root`/`relative` as given
  };

  // `relative` ("\" or "/" separated) below `root`: the path as given when it exists, else
  // the one path that matches it ignoring letter case. kAmbiguous when several files match.
  Found Find(const std::string& root, std::string_view relative);

 private:
  const std::vector<std::string>& NamesOf(const std::string& folder);

  std::map<std::string, std::vector<std::string>> listings_;
};

}  // namespace lumvane

#endif  // LUMVANE_LOCATIONS_CASE_INSENSITIVE_FINDER_H_
