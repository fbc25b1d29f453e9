// SPDX-License-Identifier: GPL-3.0-or-later
// One run at a time per archive folder: an advisory lock on a hidden lock file in the folder,
// held while the object holds it. The lock file is removed when the lock is released; the
// kernel releases the lock of a killed process by itself.
#ifndef LUMVANE_PLATFORM_DESTINATION_LOCK_H_
#define LUMVANE_PLATFORM_DESTINATION_LOCK_H_

#include <chrono>
#include <string>

#include "platform/status.h"

namespace lumvane {

inline constexpr char kLockFileName[] = ".lumvane.lock";

class DestinationLock {
 public:
  DestinationLock() = default;
  ~DestinationLock() { Release(); }
  DestinationLock(const DestinationLock&) = delete;
  DestinationLock& operator=(const DestinationLock&) = delete;

  // Takes the lock, waiting up to `patience` while another holder has it (an edit holds it
  // for a moment; a run for as long as it runs). Errors: "FOLDER is being written by another
  // run", or "Cannot write into FOLDER: reason".
  Status Acquire(const std::string& folder,
                 std::chrono::milliseconds patience = std::chrono::milliseconds(0));
  bool held() const { return fd_ >= 0; }
  void Release();

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_DESTINATION_LOCK_H_
