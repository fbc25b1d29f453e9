// SPDX-License-Identifier: GPL-3.0-or-later
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

// A page whose records block holds `rows`.
std::string PageOf(const std::vector<std::string>& rows) {
  std::string page = "<html>\r\n" + std::string(kRecordRowsOpen) + "\r\n";
  for (const auto& row : rows) page += row + "\r\n";
  return page + "</script>\r\n</html>\r\n";
}

TEST(RecordRows, WorkedExampleAndRepeatedValuesWrittenOnce) {
  const StoredValues harbour = EncodeRecord(Harbour());
  EXPECT_EQ(RecordRow(harbour, StoredValues()),
            "_K7Q2M4H.jpg\t\tC:\\\\Photos\\\\1999\tIMG_0042.jpg\tHarbour at dawn\tboats sea\t"
            "Travel\t\tK. Example\tApril 5, 1999");
  PictureRecord next = Harbour();
  next.thumb = "_K7Q2M4J.jpg";
  next.title = "T";
  EXPECT_EQ(RecordRow(EncodeRecord(next), harbour), "_K7Q2M4J.jpg\t\t\"\t\"\tT\t\"\t\"\t\t\"\t\"")
      << "a one-character value is shorter than the quote that would stand for it";
  next.details = "camera=X\niso=100";
  const std::string row = RecordRow(EncodeRecord(next), harbour);
  EXPECT_TRUE(row.ends_with("\t\"\tcamera=X\\niso=100"))
      << "details, when there are any, come last";
  EXPECT_EQ(DecodeRecord(ReadCatalogLines(PageOf({row}))[0]).details, next.details);
}

TEST(RecordRows, HostileValuesAndRepeatsReadBackAsWritten) {
  PictureRecord nasty = Harbour();
  nasty.title = "He said \"hi\"\r\nthen left\t</script><img src=x onerror=alert(1)>";
  nasty.comment = "trailing backslash \\";
  nasty.author = "\x01 control";
  PictureRecord second = Harbour();
  second.title = "\"";
  const StoredValues first_values = EncodeRecord(nasty);
  const std::string page = PageOf(
      {RecordRow(first_values, StoredValues()), RecordRow(EncodeRecord(second), first_values)});
  EXPECT_EQ(page.find("</script><"), std::string::npos);
  const auto records = ReadCatalogLines(page);
  ASSERT_EQ(records.size(), 2u);
  const PictureRecord back = DecodeRecord(records[0]);
  EXPECT_EQ(back.title, nasty.title);
  EXPECT_EQ(back.comment, nasty.comment);
  EXPECT_EQ(back.author, nasty.author);
  EXPECT_EQ(DecodeRecord(records[1]).title, "\"");
  EXPECT_EQ(records[1], EncodeRecord(second)) << "repeated values are read from the row before";
  EXPECT_EQ(records[1][2], "C:\\\\Photos\\\\1999") << "stored values keep the doubled form";
}

TEST(RecordRows, DamagedRowsAreMarkedAndRepeatsComeFromTheLastWholeRow) {
  const std::string whole = "_A000000.jpg\t\tD:\\\\A\ta.jpg\t\t\t\t\t\tMay 1, 2000";
  const PageRecords page = ReadPageRecords(
      PageOf({whole, "_B000000.jpg\tx\t\"", "_B000001.jpg\t\tE:\t\t\t\t\t\t\t\tdetails\textra",
              "_C000000.jpg\t\t\"\t\"\t\t\t\t\t\t\""}));
  ASSERT_EQ(page.all.size(), 4u);
  EXPECT_EQ(page.whole, (std::vector<bool>{true, false, false, true}));
  EXPECT_EQ(page.all[1][2], "D:\\\\A");
  EXPECT_EQ(page.all[1][3], "");
  EXPECT_EQ(page.all[3][2], "D:\\\\A");
  EXPECT_EQ(page.all[3][9], "May 1, 2000");
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
