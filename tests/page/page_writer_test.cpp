// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/page_writer.h"

#include <gtest/gtest.h>

#include "page/archive_writer.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

std::string WritePage(const TempDir& dir, const std::vector<PictureRecord>& records) {
  ArchiveWriter writer;
  EXPECT_TRUE(writer.Open(dir.path(), false).ok());
  for (const auto& record : records) EXPECT_TRUE(writer.Add(record, "x.jpg").ok());
  EXPECT_TRUE(writer.Commit(false).ok());
  return ReadAll(dir / "archive.htm");
}

TEST(PageWriter, EmptyArchiveIsHeadDirectlyFollowedByTailEveryLineEndingInCrLf) {
  TempDir dir;
  const std::string page = WritePage(dir, {});
  EXPECT_TRUE(page.starts_with(
      "<!DOCTYPE HTML>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n"
      "<title>Lumvane</title>\r\n"));
  EXPECT_NE(page.find("var cat = new Catalog();\r\n"), std::string::npos);
  EXPECT_NE(page.find(std::string(kRecordRowsOpen) + "\r\n</script>\r\n"), std::string::npos)
      << "the records' block, empty, then the rest of the script";
  EXPECT_TRUE(page.ends_with("</html>\r\n"));
  for (size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\n') {
      ASSERT_EQ(page[i - 1], '\r') << "at byte " << i;
    }
  }
  EXPECT_TRUE(ReadCatalogLines(page).empty()) << "no fixed line may be read as a record";
  EXPECT_NE(page.find("var alphabet = \"0123456789ABCDFGHJKLMNPQRSTVWXYZ\";"), std::string::npos)
      << "the build writes the name alphabet into the script";
}

TEST(PageWriter, ArchivesDifferOnlyInTheirRecords) {
  TempDir a, b;
  PictureRecord record;
  record.thumb = "_K7Q2M4H.jpg";
  record.title = "Harbour";
  const std::string empty = WritePage(a, {});
  const std::string one = WritePage(b, {record});
  const std::string head_end = "id=\"records\">\r\n";
  const size_t split = empty.find(head_end) + head_end.size();
  ASSERT_NE(split, std::string::npos);
  EXPECT_EQ(one.substr(0, split), empty.substr(0, split));
  EXPECT_TRUE(one.ends_with(empty.substr(split)));
  EXPECT_TRUE(empty.substr(split).starts_with("</script>\r\n"));
  ASSERT_EQ(ReadCatalogLines(one).size(), 1u);
  EXPECT_EQ(ReadCatalogLines(one)[0][4], "Harbour");
}

TEST(CopyTexture, CopiesOnceAndNeverOverwrites) {
  const std::string texture = FindTexture();
  ASSERT_FALSE(texture.empty()) << "texture.jpg is built beside the executables";
  TempDir dest;
  bool copied = false;
  ASSERT_TRUE(CopyTexture(texture, dest.path(), "texture.jpg", &copied).ok());
  EXPECT_TRUE(copied);
  EXPECT_EQ(ReadAll(dest / "texture.jpg"), ReadAll(texture));
  dest.Write("texture.jpg", "the user's own");
  ASSERT_TRUE(CopyTexture(texture, dest.path(), "texture.jpg", &copied).ok());
  EXPECT_FALSE(copied);
  EXPECT_EQ(ReadAll(dest / "texture.jpg"), "the user's own");
  TempDir other;
  EXPECT_TRUE(CopyTexture(other / "missing.jpg", other.path()).ok());
  EXPECT_TRUE(other.Names().empty());
}

}  // namespace
}  // namespace lumvane
