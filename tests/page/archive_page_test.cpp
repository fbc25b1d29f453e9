// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/archive_page.h"

#include <gtest/gtest.h>

namespace lumvane {
namespace {

PictureRecord Record(const std::string& thumb, const std::string& path, const std::string& source) {
  PictureRecord record;
  record.thumb = thumb;
  record.path = path;
  record.source = source;
  return record;
}

TEST(ArchivePage, SourcesComeFromTheCatalogRowOfEachRecord) {
  const std::string catalog =
      "SourceFile\tTitle\tSubject\tCategory\tComment\tAuthor\tDate\r\n"
      "/p/IMG_1.JPG\t\t\t\t\t\t\t_A.jpg\r\n"
      "/p/IMG_2.JPG\t\t\t\t\t\t\t_B.jpg\r\n"
      "/p/IMG_2.JPG\t\t\t\t\t\t\t_A.jpg\r\n"
      "a row cut short\t_C.jpg\r\n";
  const std::vector<PictureRecord> records = {
      Record("_B.jpg", "/p", "img_2.jpg"), Record("_B.jpg", "/p", "img_2.jpg"),
      Record("_A.jpg", "/p", "img_1.jpg"), Record("_C.jpg", "C:\\Photos", "c.jpg"),
      Record("_D.jpg", "", "d.jpg")};
  EXPECT_EQ(SourcesOf(records, catalog),
            (std::vector<std::string>{"/p/IMG_2.JPG", "/p/IMG_2.JPG", "/p/IMG_2.JPG",
                                      "C:\\Photos\\c.jpg", "d.jpg"}))
      << "its own row where the thumbnails match, else the first row with its thumbnail, "
         "else the record's own path";
  EXPECT_EQ(OriginalFileOf(Record("", "C:\\", "x.jpg")), "C:\\x.jpg");
  EXPECT_EQ(OriginalFileOf(Record("", "/home/k/photos", "x.jpg")), "/home/k/photos/x.jpg");
}

TEST(ArchivePage, OnlyNamesInsideTheArchivesFolderStay) {
  for (const char* inside : {"_K7Q2M40.jpg", "part 1/_K7Q2M40.jpg", "a..b/x.jpg"}) {
    EXPECT_TRUE(StaysInsideArchive(inside)) << inside;
  }
  for (const char* outside :
       {"/etc/passwd", "\\\\server\\x.jpg", "C:x.jpg", "a/../../x.jpg", "a\\..\\..\\x.jpg"}) {
    EXPECT_FALSE(StaysInsideArchive(outside)) << outside;
  }
}

TEST(ArchivePage, OnlyAPageThatMakesACatalogIsAnArchive) {
  EXPECT_TRUE(IsArchivePage("<html>\r\nvar cat = new Catalog();\r\n"));
  EXPECT_FALSE(IsArchivePage("<html><body>my homepage</body></html>"));
  EXPECT_FALSE(IsArchivePage("// var cat = new Catalog();"));
}

}  // namespace
}  // namespace lumvane
