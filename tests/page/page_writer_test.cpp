#include "page/page_writer.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

std::string WritePage(const TempDir& dir, const std::vector<StoredValues>& records) {
  ReplacingFile page;
  EXPECT_TRUE(page.Open(dir / "archive.htm").ok());
  WritePageHead(page);
  for (const auto& values : records) WriteCatalogLine(page, values);
  WritePageTail(page);
  EXPECT_TRUE(page.Commit().ok());
  return ReadAll(dir / "archive.htm");
}

TEST(PageWriter, EmptyArchiveIsHeadDirectlyFollowedByTailEveryLineEndingInCrLf) {
  TempDir dir;
  const std::string page = WritePage(dir, {});
  EXPECT_TRUE(
      page.starts_with("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Frameset//EN\">\r\n"
                       "<html>\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                       "<title>Lumvane</title>\r\n"));
  EXPECT_NE(page.find("var cat = new Catalog();\r\n\r\n"), std::string::npos);
  EXPECT_TRUE(page.ends_with("</html>\r\n"));
  for (size_t i = 0; i < page.size(); ++i) {
    if (page[i] == '\n') {
      ASSERT_EQ(page[i - 1], '\r') << "at byte " << i;
    }
  }
  EXPECT_TRUE(ReadCatalogLines(page).empty()) << "no fixed line may begin with cat.add";
}

TEST(PageWriter, ArchivesDifferOnlyInTheirRecords) {
  TempDir a, b;
  PictureRecord record;
  record.thumb = "_K7Q2M4H.jpg";
  record.title = "Harbour";
  const std::string empty = WritePage(a, {});
  const std::string one = WritePage(b, {EncodeRecord(record)});
  const std::string head_end = "var cat = new Catalog();\r\n";
  const size_t split = empty.find(head_end) + head_end.size();
  ASSERT_NE(split, std::string::npos);
  EXPECT_EQ(one.substr(0, split), empty.substr(0, split));
  EXPECT_TRUE(one.ends_with(empty.substr(split)));
  EXPECT_TRUE(empty.substr(split).starts_with("\r\nvar pickedItem;\r\n"));
  ASSERT_EQ(ReadCatalogLines(one).size(), 1u);
  EXPECT_EQ(ReadCatalogLines(one)[0][4], "Harbour");
}

TEST(CopyTexture, CopiesOnceAndNeverOverwrites) {
  const std::string texture = FindTexture();
  ASSERT_FALSE(texture.empty()) << "texture.jpg is built beside the executables";
  TempDir dest;
  ASSERT_TRUE(CopyTexture(texture, dest.path()).ok());
  EXPECT_EQ(ReadAll(dest / "texture.jpg"), ReadAll(texture));
  dest.Write("texture.jpg", "the user's own");
  ASSERT_TRUE(CopyTexture(texture, dest.path()).ok());
  EXPECT_EQ(ReadAll(dest / "texture.jpg"), "the user's own");
  TempDir other;
  EXPECT_TRUE(CopyTexture(other / "missing.jpg", other.path()).ok());
  EXPECT_TRUE(other.Names().empty());
}

}  // namespace
}  // namespace lumvane
