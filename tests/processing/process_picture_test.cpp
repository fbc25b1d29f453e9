// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/process_picture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "tests/imagelib/test_jpegs.h"
#include "tests/imagelib/test_pictures.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::PictureAt;
using testing_support::ReadAll;
using testing_support::TempDir;
using testing_support::WritePhoto;

class ProcessPictureTest : public testing::Test {
 protected:
  PictureResult Process(const PictureInput& input, CopyMode copy_mode = CopyMode::kNone,
                        std::optional<std::string> source_dir = std::nullopt) {
    return ProcessPicture(input, PictureTarget{dest.path(), std::move(source_dir), copy_mode});
  }
  PassOver Outcome(const std::string& source) { return Process(PictureAt(source)).pass_over; }

  TempDir source, dest;
};

TEST_F(ProcessPictureTest, ArchivesDisplayImageAndThumbnailAndReturnsTheRecord) {
  WritePhoto(source / "IMG_0042.JPG", 1999, 4, 5);
  const PictureResult result =
      Process({source / "IMG_0042.JPG", "Harbour", "boats", "Travel", "", "K.", "April 5, 1999"});
  ASSERT_TRUE(result.archived()) << result.PassOverText();
  EXPECT_EQ(result.record.source, "IMG_0042.jpg");
  EXPECT_EQ(result.record.path, source.path());
  EXPECT_EQ(result.record.title, "Harbour");
  EXPECT_EQ(result.tab_source, source / "IMG_0042.JPG") << "as the importer gave it";
  const auto names = NamesForCode(result.record.thumb.substr(1, 7));
  ASSERT_TRUE(names);
  EXPECT_EQ(dest.Names(), (std::vector<std::string>{names->thumbnail, names->display}));
  EXPECT_EQ(result.created,
            (std::vector<std::string>{dest / names->display, dest / names->thumbnail}));
  EXPECT_TRUE(Process(PictureAt(source / "IMG_0042.JPG")).created.empty())
      << "the second time the images were there already";
}

TEST_F(ProcessPictureTest, PassOverReasonsSayWhatIsWrong) {
  WritePhoto(source / "a.jpg");
  source.Write("text.jpg", "not a picture");
  const std::string whole = ReadAll(source / "a.jpg");
  source.Write("cut.jpg", whole.substr(0, whole.size() / 2));
  source.Write("scan.gif", "GIF89a");
  std::filesystem::create_directory(source / "folder.jpg");
  ASSERT_EQ(mkfifo((source / "pipe.jpg").c_str(), 0644), 0);
  EXPECT_EQ(Outcome(source / "notes.txt"), PassOver::kNotPictureName);
  EXPECT_EQ(Outcome(source / "scan.gif"), PassOver::kImageDamaged);
  PictureTarget jpegs;
  jpegs.dest_dir = dest.path();
  jpegs.jpeg_only = true;
  EXPECT_EQ(ProcessPicture(PictureAt(source / "scan.gif"), jpegs).pass_over,
            PassOver::kNotJpegName);
  EXPECT_EQ(ProcessPicture(PictureAt(source / "text.jpg"), jpegs).pass_over,
            PassOver::kNotJpegImage);
  EXPECT_EQ(Outcome(source / "missing.jpg"), PassOver::kFileMissing);
  EXPECT_EQ(Outcome(source / "nofolder/a.jpg"), PassOver::kFileMissing);
  EXPECT_EQ(Outcome(source / "folder.jpg"), PassOver::kNotRegularFile);
  EXPECT_EQ(Outcome(source / "pipe.jpg"), PassOver::kNotRegularFile) << "and it did not block";
  EXPECT_EQ(Outcome(source / "text.jpg"), PassOver::kNotPicture);
  EXPECT_EQ(Outcome(source / "cut.jpg"), PassOver::kImageDamaged);
  testing_jpegs::WriteJpeg(source / "bomb.jpg", {64, 48, testing_jpegs::Kind::kProgressive});
  std::string bomb = ReadAll(source / "bomb.jpg");  // its header made to claim 65500 x 65500
  bomb.replace(bomb.find("\xFF\xC2") + 5, 4, "\xFF\xDC\xFF\xDC");
  source.Write("bomb.jpg", bomb);
  EXPECT_EQ(Process(PictureAt(source / "bomb.jpg")).PassOverText(),
            "image too large (65500 x 65500)");
  if (geteuid() != 0) {  // root reads any file
    chmod((source / "a.jpg").c_str(), 0);
    EXPECT_EQ(Outcome(source / "a.jpg"), PassOver::kPermissionDenied);
  }
  EXPECT_TRUE(dest.Names().empty());
}

TEST_F(ProcessPictureTest, ThumbnailThatCannotBeWrittenPassesThePictureOverWithoutItsImages) {
  WritePhoto(source / "a.jpg");
  PicturePlan plan;
  std::string detail;
  const PictureTarget target{dest.path(), std::nullopt, CopyMode::kNone};
  ASSERT_EQ(PlanPicture(PictureAt(source / "a.jpg"), target, &plan, &detail), PassOver::kNone);
  std::filesystem::create_directory(dest / plan.outputs.thumbnail);
  const PictureResult result = Process(PictureAt(source / "a.jpg"));
  EXPECT_EQ(result.pass_over, PassOver::kCannotWriteImages);
  EXPECT_EQ(result.PassOverText(), "cannot write display image or thumbnail: Is a directory");
  EXPECT_TRUE(result.destination.ok()) << "a folder in the way is this picture's problem";
  EXPECT_EQ(dest.Names(), std::vector<std::string>{plan.outputs.thumbnail})
      << "the display image made for it is removed";
}

TEST_F(ProcessPictureTest, SamePictureAgainGivesTheSameNames) {
  WritePhoto(source / "a.jpg");
  const PictureResult first = Process(PictureAt(source / "a.jpg"), CopyMode::kRename);
  const auto before = dest.Names();
  const PictureResult second = Process(PictureAt(source / "a.jpg"), CopyMode::kRename);
  EXPECT_EQ(second.record.thumb, first.record.thumb);
  EXPECT_EQ(second.copy_problem, "") << "the renamed copy is there already";
  EXPECT_EQ(dest.Names(), before);
  WritePhoto(source / "b.jpg");  // copied under its own name before: not copied again renamed
  ASSERT_TRUE(Process(PictureAt(source / "b.jpg"), CopyMode::kKeepNames).archived());
  const auto with_b = dest.Names();
  EXPECT_TRUE(Process(PictureAt(source / "b.jpg"), CopyMode::kRename).archived());
  EXPECT_EQ(dest.Names(), with_b);
}

TEST_F(ProcessPictureTest, CopyModesKeepTheOriginalsBytesTimeAndPermissions) {
  WritePhoto(source / "IMG_1.JPG", 2003, 7, 8);
  chmod((source / "IMG_1.JPG").c_str(), 0640);
  const PictureResult kept = Process(PictureAt(source / "IMG_1.JPG"), CopyMode::kKeepNames);
  ASSERT_TRUE(kept.archived());
  EXPECT_EQ(ReadAll(dest / "IMG_1.jpg"), ReadAll(source / "IMG_1.JPG"));
  EXPECT_TRUE(kept.record.details.ends_with("\noriginal=IMG_1.jpg\nbytes=" +
                                            std::to_string(ReadAll(dest / "IMG_1.jpg").size())))
      << "the page links the copy: " << kept.record.details;
  EXPECT_EQ(std::filesystem::last_write_time(dest / "IMG_1.jpg"),
            std::filesystem::last_write_time(source / "IMG_1.JPG"));
  EXPECT_EQ(std::filesystem::status(dest / "IMG_1.jpg").permissions(),
            std::filesystem::perms(0640));

  TempDir renamed;
  const PictureResult result = ProcessPicture(PictureAt(source / "IMG_1.JPG"),
                                              {renamed.path(), std::nullopt, CopyMode::kRename});
  ASSERT_TRUE(result.archived());
  const std::string copy = NamesForCode(result.record.thumb.substr(1, 7))->copy;
  EXPECT_EQ(ReadAll(renamed / copy), ReadAll(source / "IMG_1.JPG"));
  EXPECT_EQ(renamed.Names().size(), 3u) << "thumbnail, display image, renamed copy";
  EXPECT_NE(result.record.details.find("original=" + copy + "\n"), std::string::npos);

  ASSERT_TRUE(
      testing_pictures::WritePicture(source / "scan.PNG", {testing_pictures::Format::kPng}));
  const PictureResult png = ProcessPicture(PictureAt(source / "scan.PNG"),
                                           {renamed.path(), std::nullopt, CopyMode::kRename});
  ASSERT_TRUE(png.archived()) << png.PassOverText();
  EXPECT_EQ(png.format, "PNG");
  EXPECT_EQ(png.record.source, "scan.png");
  const std::string png_copy = NamesForCode(png.record.thumb.substr(1, 7))->copy;
  EXPECT_EQ(ReadAll(renamed / (png_copy.substr(0, 8) + ".png")), ReadAll(source / "scan.PNG"))
      << "a renamed copy keeps its format's extension";
}

TEST_F(ProcessPictureTest, CopyThatCannotBeMadeIsReportedAndTheRecordStays) {
  WritePhoto(source / "a.jpg");
  std::filesystem::create_directory(dest / "a.jpg");
  const std::string long_name = std::string(250, 'n') + ".jpg";  // its temporary must not be
  WritePhoto(source / long_name);
  WritePhoto(source / "b.jpg", 2002, 2, 2);
  dest.Write("b.jpg", "the user's own b.jpg");

  PictureResult folder = Process(PictureAt(source / "a.jpg"), CopyMode::kKeepNames);
  EXPECT_TRUE(folder.archived());
  EXPECT_EQ(folder.copy_problem, "a different file of that name is in the way");
  EXPECT_EQ(folder.record.details.find("original="), std::string::npos) << "no copy to link";
  PictureResult long_named = Process(PictureAt(source / long_name), CopyMode::kKeepNames);
  EXPECT_EQ(long_named.copy_problem, "");
  EXPECT_EQ(ReadAll(dest / long_name), ReadAll(source / long_name));
  PictureResult other = Process(PictureAt(source / "b.jpg"), CopyMode::kKeepNames);
  EXPECT_EQ(other.copy_problem, "a different file of that name is in the way");
  EXPECT_EQ(ReadAll(dest / "b.jpg"), "the user's own b.jpg") << "never overwritten";
  for (const auto& name : dest.Names()) {
    EXPECT_EQ(name.find(".tmp-"), std::string::npos) << "no partial copy is left: " << name;
  }
}

TEST_F(ProcessPictureTest, OriginalInTheDestinationIsNeverMovedOrDuplicated) {
  WritePhoto(dest / "mine.jpg");
  const std::string original = ReadAll(dest / "mine.jpg");
  const PictureResult in_place = Process(PictureAt(dest / "mine.jpg"), CopyMode::kNone);
  EXPECT_NE(in_place.record.details.find("original=mine.jpg\n"), std::string::npos)
      << "an original in the archive is linked whatever the copy mode";
  EXPECT_EQ(Process(PictureAt(dest / "mine.jpg"), CopyMode::kKeepNames).copy_problem, "");
  EXPECT_EQ(ReadAll(dest / "mine.jpg"), original);
  EXPECT_EQ(dest.Names().size(), 3u) << "original and two images";
  EXPECT_TRUE(Process(PictureAt(dest / "mine.jpg"), CopyMode::kRename).archived());
  EXPECT_EQ(ReadAll(dest / "mine.jpg"), original) << "neither renamed";
  EXPECT_EQ(dest.Names().size(), 3u) << "nor copied: a renamed copy would be a picture next time";
}

TEST_F(ProcessPictureTest, ChosenSourceFolderReplacesTheCatalogFolder) {
  WritePhoto(source / "a.jpg");
  const PictureResult result =
      Process(PictureAt("D:\\Old\\Pics\\a.jpg"), CopyMode::kNone, source.path());
  EXPECT_EQ(result.record.path, source.path());
  EXPECT_EQ(result.tab_source, "D:\\Old\\Pics\\a.jpg");
}

TEST_F(ProcessPictureTest, BackupNameIsLookedForUnderItsRewrittenName) {
  WritePhoto(source / "photo.JPG.bak");
  EXPECT_EQ(Outcome(source / "photo.JPG.bak"), PassOver::kFileMissing);
  WritePhoto(source / "photo.jpg");
  const PictureResult result = Process(PictureAt(source / "photo.JPG.bak"));
  EXPECT_EQ(result.record.source, "photo.jpg");
}

}  // namespace
}  // namespace lumvane
