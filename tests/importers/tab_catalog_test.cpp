// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/tab_catalog.h"

#include <gtest/gtest.h>

#include "tests/support/recording_run.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::RecordingRun;
using testing_support::TempDir;

std::vector<PictureInput> Read(const std::string& catalog, int stop_after = -1) {
  TempDir dir;
  dir.Write("photos.txt", catalog);
  RecordingRun run;
  run.stop_after = stop_after;
  EXPECT_TRUE(run.OpenCatalog(dir / "photos.txt"));
  EXPECT_TRUE(ReadTabCatalog(run).ok());
  return run.pictures;
}

TEST(TabCatalogColumns, QuotesTabsAndSurplusColumns) {
  EXPECT_EQ(SplitTabLine("\"C:\\a.jpg\"\t\"Title, with \"\"quotes\"\"\"")[1],
            "Title, with \"\"quotes\"\"");
  EXPECT_EQ(SplitTabLine("a\t\"open only")[1], "\"open only");
  EXPECT_EQ(SplitTabLine("a\t\"")[1], "\"") << "a lone quote is kept";
  EXPECT_EQ(SplitTabLine("a\t5\" disk\tx")[2], "x") << "a quote inside a value joins no columns";
  EXPECT_EQ(SplitTabLine("a\t\t\tx")[3], "x") << "two TABs give an empty column";
  const auto many = SplitTabLine("1\t2\t3\t4\t5\t6\t7\t8\t9\t10");
  EXPECT_EQ(many[7], "8");
  EXPECT_EQ(SplitTabLine("only")[1], "");
}

TEST(TabCatalog, HeaderOnlyOnTheFirstLine) {
  const auto pictures = Read(
      "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n"
      "/p/a.jpg\tHarbour\tboats\tTravel\tcomment\tK.\tApril 5, 1999\t_THUMB00.jpg\r\n"
      "SourceFile\tagain\r\n");
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].source, "/p/a.jpg");
  EXPECT_EQ(pictures[0].title, "Harbour");
  EXPECT_EQ(pictures[0].subject, "boats");
  EXPECT_EQ(pictures[0].category, "Travel");
  EXPECT_EQ(pictures[0].comment, "comment");
  EXPECT_EQ(pictures[0].author, "K.");
  EXPECT_EQ(pictures[0].picdate, "April 5, 1999");
  EXPECT_EQ(pictures[1].source, "SourceFile") << "a later header line is a picture";
}

TEST(TabCatalog, EmptyAndShortLinesAndLinesStartingWithATab) {
  const auto pictures = Read("\n/p/a.jpg\n\t/p/skipped.jpg\tTitle\n\n/p/b.jpg\tB");
  ASSERT_EQ(pictures.size(), 2u);
  EXPECT_EQ(pictures[0].source, "/p/a.jpg");
  EXPECT_EQ(pictures[0].title, "");
  EXPECT_EQ(pictures[1].title, "B");
  EXPECT_TRUE(Read("").empty());
}

TEST(TabCatalog, EveryLineEndingReads) {
  for (const char* ending : {"\r\n", "\r", "\n"}) {
    const std::string text = std::string("/p/a.jpg\tA") + ending + "/p/b.jpg\tB" + ending;
    EXPECT_EQ(Read(text).size(), 2u) << "ending " << (ending[0] == '\r' ? "CR" : "LF");
  }
}

TEST(TabCatalog, Windows1252AndUtf8Text) {
  EXPECT_EQ(Read("/p/a.jpg\tCaf\xE9 \x93quoted\x94")[0].title,
            "Caf\xC3\xA9 \xE2\x80\x9Cquoted\xE2\x80\x9D");
  EXPECT_EQ(Read("/p/a.jpg\tCaf\xC3\xA9")[0].title, "Caf\xC3\xA9");
}

TEST(TabCatalog, UnicodeTextFromASpreadsheetAndMixedLines) {
  // "Unicode Text" as spreadsheets save it: UTF-16 LE with its byte-order mark.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("SourceFile\tTitle\r\n/p/a.jpg\tHarbour\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  const auto pictures = Read(utf16);
  ASSERT_EQ(pictures.size(), 1u);
  EXPECT_EQ(pictures[0].source, "/p/a.jpg");
  EXPECT_EQ(pictures[0].title, "Harbour");
  TempDir dir;  // without its mark: said, not read as nothing
  dir.Write("photos.txt", utf16.substr(2));
  RecordingRun run;
  ASSERT_TRUE(run.OpenCatalog(dir / "photos.txt"));
  EXPECT_EQ(ReadTabCatalog(run).message(),
            (dir / "photos.txt") +
                " looks like UTF-16 text without a byte-order mark, which "
                "cannot be read: save it as UTF-8, or as UTF-16 with the mark");
  const auto mixed = Read("/p/Z\xC3\xBCrich.jpg\tok\n/p/b.jpg\tCaf\xE9\n");
  EXPECT_EQ(mixed[0].source, "/p/Z\xC3\xBCrich.jpg") << "a Windows-1252 line elsewhere";
  EXPECT_EQ(mixed[1].title, "Caf\xC3\xA9");
}

TEST(TabCatalog, StopsAfterThePictureInHand) {
  EXPECT_EQ(Read("/p/1.jpg\n/p/2.jpg\n/p/3.jpg\n/p/4.jpg\n", 2).size(), 2u);
}

}  // namespace
}  // namespace lumvane
