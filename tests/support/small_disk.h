// SPDX-License-Identifier: GPL-3.0-or-later
// A destination that fills up, for the tests of full disks: a private tmpfs of a given size
// mounted on a folder when this test process may mount one (root in its own mount
// namespace), else a limit on the size of every file the process writes (RLIMIT_FSIZE, with
// SIGXFSZ ignored so that a write past it fails with EFBIG instead of killing the process).
// Child processes inherit either. Use one per test process: gtest runs each test in its own.
#ifndef LUMVANE_TESTS_SUPPORT_SMALL_DISK_H_
#define LUMVANE_TESTS_SUPPORT_SMALL_DISK_H_

#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

#include <csignal>
#include <string>

namespace testing_support {

class SmallDisk {
 public:
  // Makes `folder` (empty) hold at most `bytes`. REQUIRES: nothing in the folder yet.
  SmallDisk(const std::string& folder, size_t bytes) : folder_(folder) {
    const std::string size = "size=" + std::to_string(bytes);
    mounted_ = unshare(CLONE_NEWNS) == 0 &&
               mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
               mount("tmpfs", folder.c_str(), "tmpfs", 0, size.c_str()) == 0;
    if (mounted_) return;
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~SmallDisk() {
    if (mounted_) umount2(folder_.c_str(), MNT_DETACH);
  }
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;

  // The system's reason a write fails with.
  const char* full_reason() const {
    return mounted_ ? "No space left on device" : "File too large";
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_SMALL_DISK_H_
