#include "pictures/catalog_line.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "pictures/field_encoding.h"

namespace lumvane {
namespace {

PictureRecord Harbour() {
  PictureRecord r;
  r.thumb = "_K7Q2M4H.jpg";
  r.path = "C:\\Photos\\1999";
  r.source = "IMG_0042.jpg";
  r.title = "Harbour at dawn";
  r.subject = "boats sea";
  r.category = "Travel";
  r.author = "K. Example";
  r.picdate = "April 5, 1999";
  return r;
}

std::string Joined(const std::array<std::string, 5>& lines) {
  std::string text;
  for (const auto& line : lines) text += line + "\r\n";
  return text;
}

TEST(CatalogLineWriting, WorkedExampleCharacterForCharacter) {
  EXPECT_EQ(Joined(CatalogLine(EncodeRecord(Harbour()))),
            "cat.add (new Pic (\"_K7Q2M4H.jpg\", \"\",\r\n"
            "  \"C:\\\\Photos\\\\1999\", \"IMG_0042.jpg\",\r\n"
            "  \"Harbour at dawn\", \"boats sea\",\r\n"
            "  \"Travel\", \"\",\r\n"
            "  \"K. Example\", \"April 5, 1999\"));\r\n");
}

TEST(CatalogLineWriting, EmptyFieldsStillGiveFiveLinesAndTwentyQuotes) {
  PictureRecord r;
  r.thumb = "_0000000.jpg";
  const auto lines = CatalogLine(EncodeRecord(r));
  EXPECT_EQ(lines[1], "  \"\", \"\",");
  EXPECT_EQ(lines[4], "  \"\", \"\"));");
  const std::string text = Joined(lines);
  EXPECT_EQ(std::count(text.begin(), text.end(), '"'), 20);
}

TEST(CatalogLineWriting, UncFolderKeepsItsShapeDoubled) {
  PictureRecord r = Harbour();
  r.path = "\\\\server\\share";
  EXPECT_EQ(EncodeRecord(r)[2], "\\\\\\\\server\\\\share");
}

TEST(CatalogLineReading, RoundTripOfHostileValuesKeepsEveryRecordIntact) {
  PictureRecord nasty = Harbour();
  nasty.title = "He said \"hi\"\r\nthen left\t</script><img src=x onerror=alert(1)>";
  nasty.comment = "trailing backslash \\";
  nasty.author = "\x01 control";
  const std::string page = "<html>\r\n" + Joined(CatalogLine(EncodeRecord(nasty))) +
                           Joined(CatalogLine(EncodeRecord(Harbour()))) + "</html>\r\n";
  EXPECT_EQ(page.find("</script>"), std::string::npos);
  const auto records = ReadCatalogLines(page);
  ASSERT_EQ(records.size(), 2u);
  const PictureRecord back = DecodeRecord(records[0]);
  EXPECT_EQ(back.title, nasty.title);
  EXPECT_EQ(back.comment, nasty.comment);
  EXPECT_EQ(back.author, nasty.author);
  EXPECT_EQ(back.path, "C:\\Photos\\1999");
  EXPECT_EQ(records[1][2], "C:\\\\Photos\\\\1999") << "stored values keep the doubled form";
  EXPECT_EQ(CatalogLine(records[1]), CatalogLine(EncodeRecord(Harbour())))
      << "a record read back and written again is unchanged";
}

TEST(CatalogLineReading, OldStyleRecordsAndAnyLineEndingsRead) {
  const std::string old =
      "var cat = new Catalog();\n"
      "cat.add (new Pic (\"_ABCDEF0.jpg\", \"\",\r"
      "  \"D:\\\\Old\", \"a.jpg\",\n"
      "  \"caf\xC3\xA9 & <b>\", \"\",\r\n"
      "  \"\", \"\",\n"
      "  \"\", \"May 1, 2000\"));\n"
      "var pickedItem;\n";
  const auto records = ReadCatalogLines(old);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][0], "_ABCDEF0.jpg");
  EXPECT_EQ(records[0][4], "caf\xC3\xA9 & <b>");
  EXPECT_EQ(records[0][9], "May 1, 2000");
  EXPECT_EQ(DecodeRecord(records[0]).path, "D:\\Old");
}

TEST(CatalogLineReading, DamagedRecordAtTheEndGivesEmptyValues) {
  const auto records = ReadCatalogLines("cat.add (new Pic (\"_ABCDEF0.jpg\", \"x");
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][0], "_ABCDEF0.jpg");
  EXPECT_EQ(records[0][1], "");
}

TEST(TabCatalogLine, EightColumnsSevenTabsAndNoStrayTabs) {
  EXPECT_EQ(TabCatalogHeader(), "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate");
  PictureRecord r;
  r.thumb = "_0000000.jpg";
  EXPECT_EQ(TabCatalogLine("C:\\a.JPG", r), "C:\\a.JPG\t\t\t\t\t\t\t_0000000.jpg");
  r.title = "two\tcolumns\r\nand lines";
  const std::string line = TabCatalogLine("/p/a.jpg", r);
  EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7);
  EXPECT_NE(line.find("two columns  and lines"), std::string::npos);
}

}  // namespace
}  // namespace lumvane
