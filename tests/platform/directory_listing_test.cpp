// A folder whose listing fails part way (a failing disk) is an error, never a shorter list.
#include "platform/directory_listing.h"

#include <dirent.h>
#include <dlfcn.h>

#include <cerrno>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace {

// Armed with a count, readdir fails with EIO once that many entries have been read.
int entries_before_failure = -1;

}  // namespace

// This test program's readdir stands in for the C library's (which the standard library's
// directory iterator calls), so that a listing can fail the way a failing disk makes it.
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

}  // namespace
}  // namespace lumvane
