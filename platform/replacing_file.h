// SPDX-License-Identifier: GPL-3.0-or-later
// A text file written beside its final name and renamed into place when complete, so that an
// earlier file of that name stays intact until the new one is whole and on disk.
// Not thread-safe; one writer per file.
#ifndef LUMVANE_PLATFORM_REPLACING_FILE_H_
#define LUMVANE_PLATFORM_REPLACING_FILE_H_

#include <cstdio>
#include <string>
#include <string_view>

#include "platform/content_digest.h"
#include "platform/status.h"

namespace lumvane {

class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile();  // an uncommitted temporary file is removed
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Creates the temporary file in the folder of `final_path`. Errors read
  // "Cannot write into FOLDER: reason".
  Status Open(const std::string& final_path);
  bool is_open() const { return file_ != nullptr; }
  const std::string& final_path() const { return final_path_; }
  // Where it is written until it is moved to its final name.
  const std::string& temp_path() const { return temp_path_; }
  // The digest of every byte written since Open.
  const ContentDigest& digest() const { return digest_; }

  // Writes `line` followed by CR LF. A failure is remembered and reported by Flush and Commit.
  void WriteLine(std::string_view line);
  // Writes `bytes` as they are, remembering a failure as WriteLine does.
  void Write(std::string_view bytes);

  // Hands what was written to the system, so that a full disk shows now rather than at the end.
  Status Flush();

  // Flushes, syncs and closes the temporary file; it keeps its temporary name.
  Status Finish();

  // Renames the finished temporary file to `final_path`, with the permissions of the file it
  // replaces. REQUIRES: Finish succeeded.
  Status MoveTo(const std::string& final_path);

  // Finish, then MoveTo(final_path()).
  Status Commit();

  // Removes the temporary file; the final name is left untouched.
  void Abandon();

 private:
  Status Failure(int error);

  std::FILE* file_ = nullptr;
  std::string final_path_;
  std::string temp_path_;
  int write_error_ = 0;
  ContentDigest digest_;
};

// The folder part of `path` ("." when it has none).
std::string FolderOf(const std::string& path);

// Makes the last renames in `folder` durable. Failures are ignored: the files are complete.
void SyncFolder(const std::string& folder);

// Writes everything written to the file system that holds `folder` to its disk (the run's
// images among it), so that a page committed after it never names images a power cut took.
// Returns the system's reason when it fails, "" otherwise.
std::string SyncFileSystemOf(const std::string& folder);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_REPLACING_FILE_H_
