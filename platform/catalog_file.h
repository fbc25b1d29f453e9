// A catalog opened for reading with a shared advisory lock, so that no cooperating program
// writes it while a run reads it.
#ifndef LUMVANE_PLATFORM_CATALOG_FILE_H_
#define LUMVANE_PLATFORM_CATALOG_FILE_H_

#include <string>

namespace lumvane {

class CatalogFile {
 public:
  enum class OpenResult { kOpened, kInUse, kFailed };

  CatalogFile() = default;
  ~CatalogFile() { Close(); }
  CatalogFile(const CatalogFile&) = delete;
  CatalogFile& operator=(const CatalogFile&) = delete;

  // Opens `path` read-only and takes a shared lock without waiting; never blocks on a FIFO or
  // device, which are refused. kInUse when another program holds an exclusive lock; kFailed
  // otherwise, with error_number() and error_reason() set.
  OpenResult Open(const std::string& path);

  // The error number of a failed open, in the numbering of the catalog messages:
  // 53 file not found, 70 permission denied, 75 any other access error.
  int error_number() const { return error_number_; }
  // The system's reason for a failed open ("Is a directory", ...).
  const std::string& error_reason() const { return error_reason_; }

  // The whole file. Returns false (errno set) when it cannot be read.
  bool ReadAll(std::string* bytes) const;

  // The file's size in bytes; -1 when it cannot be told.
  long long size() const;

  bool is_open() const { return fd_ >= 0; }
  void Close();

 private:
  OpenResult Failed(int error);

  int fd_ = -1;
  int error_number_ = 0;
  std::string error_reason_;
};

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_CATALOG_FILE_H_
