// SPDX-License-Identifier: GPL-3.0-or-later
// System calls that fail where a test cannot make them fail for real: a folder whose listing
// fails part way (a failing disk) is an error, never a shorter list; a lock that cannot be
// taken (a file system without locks) leaves no lock file behind, and one that another run
// took first is left to it.
#include <dirent.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

#include "platform/destination_lock.h"
#include "platform/directory_listing.h"

namespace {

// Armed with a count, readdir fails with EIO once that many entries have been read.
int entries_before_failure = -1;
// Armed, flock fails as on a file system without locks.
bool locks_fail = false;
// Armed, another run locks the file on its own descriptor just before this one tries.
bool another_run_first = false;
int other_run_fd = -1;

}  // namespace

// These stand in for the C library's functions of the same names in this test program.
extern "C" int flock(int fd, int operation) {
  static const auto real = reinterpret_cast<int (*)(int, int)>(dlsym(RTLD_NEXT, "flock"));
  if (another_run_first) {
    another_run_first = false;
    other_run_fd = open(("/proc/self/fd/" + std::to_string(fd)).c_str(), O_RDWR | O_CLOEXEC);
    real(other_run_fd, LOCK_EX | LOCK_NB);
  }
  if (!locks_fail) return real(fd, operation);
  errno = ENOLCK;
  return -1;
}

extern "C" struct dirent* readdir(DIR* folder) {
  static const auto real = reinterpret_cast<struct dirent* (*)(DIR*)>(dlsym(RTLD_NEXT, "readdir"));
  if (entries_before_failure == 0) {
    errno = EIO;
    return nullptr;
  }
  if (entries_before_failure > 0) --entries_before_failure;
  return real(folder);
}

namespace lumvane {
namespace {

TEST(DirectoryListing, AListingThatFailsPartWayIsAnError) {
  testing_support::TempDir dir;
  for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) dir.Write(name, "x");
  std::filesystem::create_directory(dir / "sub");
  for (const int entries : {0, 3}) {
    std::vector<std::string> names;
    entries_before_failure = entries;
    const Status files = ListFiles(dir.path(), false, &names);
    entries_before_failure = entries;
    const Status folders = ListVisibleFolders(dir.path(), &names);
    entries_before_failure = -1;
    for (const Status& status : {files, folders}) {
      EXPECT_EQ(status.message(), "Cannot read the folder " + dir.path() + ": Input/output error");
    }
  }
  std::vector<std::string> names;
  ASSERT_TRUE(ListFiles(dir.path(), false, &names).ok());
  EXPECT_EQ(names.size(), 4u);
}

TEST(DestinationLock, ALockThatCannotBeTakenLeavesNoLockFile) {
  testing_support::TempDir dir;
  DestinationLock lock;
  locks_fail = true;
  const Status refused = lock.Acquire(dir.path());
  locks_fail = false;
  EXPECT_EQ(refused.message(), "Cannot write into " + dir.path() + ": No locks available");
  EXPECT_TRUE(dir.Names().empty());
}

// This run made the lock file, but another run locked it first: the file is that run's lock,
// and removing it would let a third run write beside it.
TEST(DestinationLock, AFreshLockFileThatAnotherRunTookFirstIsLeftToIt) {
  testing_support::TempDir dir;
  DestinationLock lock;
  another_run_first = true;
  const Status refused = lock.Acquire(dir.path());
  EXPECT_EQ(refused.message(), dir.path() + " is being written by another run");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{kLockFileName});
  close(other_run_fd);
}

}  // namespace
}  // namespace lumvane
