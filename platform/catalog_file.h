// SPDX-License-Identifier: GPL-3.0-or-later
// A catalog opened for reading with a shared advisory lock, so that no cooperating program
// writes it while a run reads it.
#ifndef LUMVANE_PLATFORM_CATALOG_FILE_H_
#define LUMVANE_PLATFORM_CATALOG_FILE_H_

#include <string>

#include "platform/status.h"

namespace lumvane {

class CatalogFile {
 public:
  CatalogFile() = default;
  ~CatalogFile() { Close(); }
  CatalogFile(const CatalogFile&) = delete;
  CatalogFile& operator=(const CatalogFile&) = delete;

  // Opens `path` read-only and takes a shared lock without waiting; never blocks on a FIFO or
  // device, which are refused. kBusy when another program holds an exclusive lock; otherwise a
  // failure's message is the system's reason ("Is a directory", "Not a regular file", ...).
  Status Open(const std::string& path);

  // The error number of a failed open in the numbering of the catalog messages: 53 file not
  // found, 70 permission denied, 75 any other access error.
  static int ErrorNumber(const Status& failed);

  // The whole file. Returns false (errno set) when it cannot be read.
  bool ReadAll(std::string* bytes) const;

  // The file's size in bytes; -1 when it cannot be told.
  long long size() const;

  bool is_open() const { return fd_ >= 0; }
  void Close();

 private:
  Status Failed(int error);

  int fd_ = -1;
};

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_CATALOG_FILE_H_
