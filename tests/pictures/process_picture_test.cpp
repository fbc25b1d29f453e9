#include "pictures/process_picture.h"

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::WritePhoto;

PictureInput Picture(const std::string& source) {
  PictureInput input;
  input.source = source;
  return input;
}

class ProcessPictureTest : public testing::Test {
 protected:
  // Processes one picture with the given copy mode and returns the outcome; the records go to
  // page_text and tab_text.
  PassOver Process(const PictureInput& input, int copy_mode,
                   std::optional<std::string> source_dir = std::nullopt) {
    ReplacingFile page, tab;
    EXPECT_TRUE(page.Open(dest / "archive.htm").ok());
    EXPECT_TRUE(tab.Open(dest / "archive.txt").ok());
    PictureTarget target{dest.path(), std::move(source_dir), copy_mode, &page, &tab};
    const PassOver outcome = ProcessPicture(input, target);
    EXPECT_TRUE(page.Commit().ok());
    EXPECT_TRUE(tab.Commit().ok());
    page_text = ReadAll(dest / "archive.htm");
    tab_text = ReadAll(dest / "archive.txt");
    return outcome;
  }

  std::string ThumbOfRecord() {
    const auto records = ReadCatalogLines(page_text);
    return records.empty() ? "" : records[0][0];
  }

  TempDir source, dest;
  std::string page_text, tab_text;
};

TEST_F(ProcessPictureTest, ArchivesDisplayImageThumbnailAndBothRecords) {
  WritePhoto(source / "IMG_0042.JPG", 1999, 4, 5);
  PictureInput input{source / "IMG_0042.JPG", "Harbour", "boats", "Travel", "", "K.",
                     "April 5, 1999"};
  ASSERT_EQ(Process(input, kCopyNone), PassOver::kNone);
  const auto records = ReadCatalogLines(page_text);
  ASSERT_EQ(records.size(), 1u);
  const PictureRecord record = DecodeRecord(records[0]);
  EXPECT_EQ(record.source, "IMG_0042.jpg");
  EXPECT_EQ(record.path, source.path());
  EXPECT_EQ(record.file, "");
  const auto names = NamesForCode(record.thumb.substr(1, 7));
  ASSERT_TRUE(names);
  EXPECT_EQ(dest.Names(), (std::vector<std::string>{names->thumbnail, names->display, "archive.htm",
                                                    "archive.txt"}));
  EXPECT_EQ(tab_text, (source / "IMG_0042.JPG") +
                          "\tHarbour\tboats\tTravel\t\tK.\tApril 5, 1999\t" + record.thumb + "\r\n")
      << "the tab line keeps the source as the importer gave it";
}

TEST_F(ProcessPictureTest, PassesOverWhatItCannotArchive) {
  WritePhoto(source / "a.jpg");
  source.Write("broken.jpg", "not a picture");
  source.Write("scan.gif", "GIF89a");
  EXPECT_EQ(Process(Picture(source / "scan.gif"), kCopyNone), PassOver::kNotJpegName);
  EXPECT_EQ(Process(Picture(source / "missing.jpg"), kCopyNone), PassOver::kFileUnreadable);
  EXPECT_EQ(Process(Picture(source / "broken.jpg"), kCopyNone), PassOver::kImageUnreadable);
  EXPECT_EQ(dest.Names(), (std::vector<std::string>{"archive.htm", "archive.txt"}));
  EXPECT_TRUE(ReadCatalogLines(page_text).empty());
}

TEST_F(ProcessPictureTest, SamePictureAgainGivesTheSameNames) {
  WritePhoto(source / "a.jpg");
  ASSERT_EQ(Process(Picture(source / "a.jpg"), kCopyRename), PassOver::kNone);
  const std::string first = ThumbOfRecord();
  const auto before = dest.Names();
  ASSERT_EQ(Process(Picture(source / "a.jpg"), kCopyRename), PassOver::kNone);
  EXPECT_EQ(ThumbOfRecord(), first);
  EXPECT_EQ(dest.Names(), before);
}

TEST_F(ProcessPictureTest, CopyModes) {
  WritePhoto(source / "IMG_1.JPG");
  ASSERT_EQ(Process(Picture(source / "IMG_1.JPG"), kCopyKeepNames), PassOver::kNone);
  EXPECT_EQ(ReadAll(dest / "IMG_1.jpg"), ReadAll(source / "IMG_1.JPG"));

  TempDir renamed_dest;
  ReplacingFile page, tab;
  ASSERT_TRUE(page.Open(renamed_dest / "archive.htm").ok());
  ASSERT_TRUE(tab.Open(renamed_dest / "archive.txt").ok());
  PictureTarget target{renamed_dest.path(), std::nullopt, kCopyRename, &page, &tab};
  ASSERT_EQ(ProcessPicture(Picture(source / "IMG_1.JPG"), target), PassOver::kNone);
  PicturePlan plan;
  ASSERT_EQ(PlanPicture(Picture(source / "IMG_1.JPG"), target, &plan), PassOver::kNone);
  EXPECT_EQ(ReadAll(renamed_dest / plan.outputs.copy), ReadAll(source / "IMG_1.JPG"));
  const auto names = renamed_dest.Names();
  EXPECT_EQ(std::count_if(names.begin(), names.end(), [](auto& n) { return n[0] == '_'; }), 3)
      << "thumbnail, display image, renamed copy";
}

TEST_F(ProcessPictureTest, OriginalInTheDestinationIsNeverMovedOrDuplicated) {
  WritePhoto(dest / "mine.jpg");
  const std::string original = ReadAll(dest / "mine.jpg");
  ASSERT_EQ(Process(Picture(dest / "mine.jpg"), kCopyKeepNames), PassOver::kNone);
  EXPECT_EQ(ReadAll(dest / "mine.jpg"), original);
  EXPECT_EQ(dest.Names().size(), 5u) << "original, two images, page, tab catalog";
  ASSERT_EQ(Process(Picture(dest / "mine.jpg"), kCopyRename), PassOver::kNone);
  EXPECT_EQ(ReadAll(dest / "mine.jpg"), original) << "copied to the new name, not renamed";
  EXPECT_EQ(dest.Names().size(), 6u);
}

TEST_F(ProcessPictureTest, ChosenSourceFolderReplacesTheCatalogFolder) {
  WritePhoto(source / "a.jpg");
  ASSERT_EQ(Process(Picture("D:\\Old\\Pics\\a.jpg"), kCopyNone, source.path()), PassOver::kNone);
  EXPECT_EQ(DecodeRecord(ReadCatalogLines(page_text)[0]).path, source.path());
  EXPECT_TRUE(tab_text.starts_with("D:\\Old\\Pics\\a.jpg\t"));
}

TEST_F(ProcessPictureTest, BackupNameIsLookedForUnderItsRewrittenName) {
  WritePhoto(source / "photo.JPG.bak");
  EXPECT_EQ(Process(Picture(source / "photo.JPG.bak"), kCopyNone), PassOver::kFileUnreadable);
  WritePhoto(source / "photo.jpg");
  EXPECT_EQ(Process(Picture(source / "photo.JPG.bak"), kCopyNone), PassOver::kNone);
  EXPECT_EQ(DecodeRecord(ReadCatalogLines(page_text)[0]).source, "photo.jpg");
}

}  // namespace
}  // namespace lumvane
