// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::TempDir;

TEST(ReplacingFile, EarlierFileStaysUntilCommitThenIsReplacedWhole) {
  TempDir dir;
  dir.Write("archive.txt", "old\r\n");
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(dir / "archive.txt").ok());
    file.WriteLine("first");
    file.WriteLine("");
    EXPECT_EQ(testing_support::ReadAll(dir / "archive.txt"), "old\r\n");
    ASSERT_TRUE(file.Commit().ok());
  }
  EXPECT_EQ(testing_support::ReadAll(dir / "archive.txt"), "first\r\n\r\n");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"archive.txt"});
}

TEST(ReplacingFile, AbandonedOrDestroyedWriterLeavesTheOldFileAndNoLeftovers) {
  TempDir dir;
  dir.Write("archive.htm", "old");
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(dir / "archive.htm").ok());
    file.WriteLine("new");
  }
  EXPECT_EQ(testing_support::ReadAll(dir / "archive.htm"), "old");
  EXPECT_EQ(dir.Names(), std::vector<std::string>{"archive.htm"});
}

TEST(ReplacingFile, FolderThatCannotBeWrittenGivesAMessageNamingTheFile) {
  TempDir dir;
  ReplacingFile file;
  const Status status = file.Open(dir / "missing/archive.htm");
  ASSERT_FALSE(status.ok());
  EXPECT_EQ(status.message(),
            "Cannot write into " + (dir / "missing") + ": No such file or directory");
  EXPECT_FALSE(file.Commit().ok());
}

}  // namespace
}  // namespace lumvane
