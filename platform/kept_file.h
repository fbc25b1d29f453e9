// SPDX-License-Identifier: GPL-3.0-or-later
// What a file name held before it is replaced, kept under a hard link (or, where the file
// system has none, a copy) while the object lives, so that a failure further on can put it
// back, or remove the new file when there was none.
#ifndef LUMVANE_PLATFORM_KEPT_FILE_H_
#define LUMVANE_PLATFORM_KEPT_FILE_H_

#include <string>

namespace lumvane {

class KeptFile {
 public:
  explicit KeptFile(std::string path);
  ~KeptFile();
  KeptFile(const KeptFile&) = delete;
  KeptFile& operator=(const KeptFile&) = delete;

  // Puts the earlier file back; a file that could not be kept is never removed.
  void Restore() const;

 private:
  std::string path_, before_;
  bool existed_ = false, kept_ = false;
};

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_KEPT_FILE_H_
