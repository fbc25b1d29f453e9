// A text file written beside its final name and renamed into place on Commit, so that an
// earlier file of that name stays intact until the new one is complete.
// Not thread-safe; one writer per file.
#ifndef LUMVANE_PLATFORM_REPLACING_FILE_H_
#define LUMVANE_PLATFORM_REPLACING_FILE_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/status.h"

namespace lumvane {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();  // an uncommitted temporary file is removed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file in the folder of `final_path`.
  Status Open(const std::string& final_path);
  bool is_open() const { return file_ != nullptr; }
  const std::string& final_path() const { return final_path_; }

  // Writes `line` followed by CR LF. A failure is remembered and reported by Commit.
  void WriteLine(std::string_view line);

  // Flushes and renames the temporary file over the final name.
  Status Commit();

  // Removes the temporary file; the final name is left untouched.
  void Abandon();

 private:
  std::FILE* file_ = nullptr;
  std::string final_path_;
  std::string temp_path_;
  bool write_failed_ = false;
};

// Copies `from` to `to` through a temporary file beside `to` and a rename, so an interrupted
// copy never leaves a partial file; an existing `to` is replaced. Copying a file onto itself
// does nothing. Returns false when the copy failed.
bool CopyReplacing(const std::string& from, const std::string& to);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_REPLACING_FILE_H_
