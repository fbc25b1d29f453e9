// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <gtest/gtest.h>

namespace lumvane {
namespace {

TEST(Paths, CatalogPathsSplitAtTheLastSlashOfEitherKind) {
  EXPECT_EQ(SplitCatalogPath("C:\\Photos\\1999\\a.jpg").folder, "C:\\Photos\\1999");
  EXPECT_EQ(SplitCatalogPath("C:\\Photos\\1999\\a.jpg").name, "a.jpg");
  EXPECT_EQ(SplitCatalogPath("/home/ann/pics/b.JPG").folder, "/home/ann/pics");
  EXPECT_EQ(SplitCatalogPath("D:/mixed\\sub/c.jpg").folder, "D:/mixed\\sub");
  EXPECT_EQ(SplitCatalogPath("C:\\root.jpg").folder, "C:");
  EXPECT_EQ(SplitCatalogPath("bare.jpg").folder, "");
  EXPECT_EQ(SplitCatalogPath("bare.jpg").name, "bare.jpg");
}

TEST(Paths, JoiningAddsExactlyOneSeparator) {
  EXPECT_EQ(JoinPath("/photos", "a.jpg"), "/photos/a.jpg");
  EXPECT_EQ(JoinPath("/photos/", "a.jpg"), "/photos/a.jpg");
  EXPECT_EQ(JoinPath("/", "a.jpg"), "/a.jpg");
  EXPECT_EQ(WithTrailingSeparator(""), "/");
}

}  // namespace
}  // namespace lumvane
