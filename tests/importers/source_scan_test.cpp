// SPDX-License-Identifier: GPL-3.0-or-later
#include "importers/source_scan.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/pictures.h"
#include "tests/support/recording_run.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::TempDir;

TEST(SourceScanOrder, FileManagerOrder) {
  std::vector<std::string> names = {"IMG_10.jpg", "img_2.JPG",  "IMG_1.jpg", "b.jpg",
                                    "A.jpg",      "IMG_02.jpg", "IMG_2.jpg"};
  std::sort(names.begin(), names.end(), ListedBefore);
  EXPECT_EQ(names, (std::vector<std::string>{"A.jpg", "b.jpg", "IMG_1.jpg", "IMG_02.jpg",
                                             "IMG_2.jpg", "img_2.JPG", "IMG_10.jpg"}));
  EXPECT_TRUE(ListedBefore("x99999999999999999999.jpg", "x100000000000000000000.jpg"))
      << "digit runs longer than any integer";
}

TEST(SourceScanListing, PictureNamesOnlyVisibleFilesOnlyNoSubfolders) {
  TempDir dir;
  for (const char* name : {"a.jpg", "B.JPG", "c.jpeg", "d.Jpeg", ".hidden.jpg", "e.png",
                           "f.jpg.bak", "g.HEIC", "h.txt", "jpg", ".jpg"}) {
    dir.Write(name, "x");
  }
  std::filesystem::create_directory(dir / "sub.jpg");
  dir.Write("sub.jpg/inner.jpg", "x");
  std::vector<std::string> names;
  ASSERT_TRUE(ListSourcePictures(dir.path(), false, &names).ok());
  EXPECT_EQ(names,
            (std::vector<std::string>{"a.jpg", "B.JPG", "c.jpeg", "d.Jpeg", "e.png", "g.HEIC"}));
  names.clear();
  ASSERT_TRUE(ListSourcePictures(dir.path(), true, &names).ok());
  EXPECT_EQ(names, (std::vector<std::string>{"a.jpg", "B.JPG", "c.jpeg", "d.Jpeg"}));
}

TEST(SourceScanListing, MissingFolderIsAnErrorWithItsName) {
  std::vector<std::string> names;
  const Status status = ListSourcePictures("/no/such/folder", false, &names);
  ASSERT_FALSE(status.ok());
  EXPECT_NE(status.message().find("/no/such/folder"), std::string::npos);
}

using testing_support::RecordingRun;

TEST(ScanSourceDirectory, HandsOverPathAndFileDateAndStopsWhenAsked) {
  TempDir dir;
  for (const char* name : {"IMG_1.jpg", "IMG_2.jpg", "IMG_3.jpg", "IMG_4.jpg"}) {
    dir.Write(name, "x");
    testing_support::SetFileDate(dir / name, 2001, 3, 5);
  }
  RecordingRun run;
  run.folder = dir.path();
  ASSERT_TRUE(ScanSourceDirectory(run).ok());
  EXPECT_EQ(run.expected, 4);
  ASSERT_EQ(run.pictures.size(), 4u);
  EXPECT_EQ(run.pictures[0].source, dir / "IMG_1.jpg");
  EXPECT_EQ(run.pictures[0].picdate, "March 5, 2001");
  EXPECT_EQ(run.pictures[0].title, "");

  RecordingRun stopped;
  stopped.folder = dir.path() + "/";
  stopped.stop_after = 3;
  ASSERT_TRUE(ScanSourceDirectory(stopped).ok());
  EXPECT_EQ(stopped.pictures.size(), 3u);
  EXPECT_EQ(stopped.pictures[2].source, dir / "IMG_3.jpg") << "one separator only";
}

}  // namespace
}  // namespace lumvane

namespace lumvane {
namespace {

TEST(SourceScanGroups, LivePhotosAndWithPairRawRawJpegPairsAreOnePicture) {
  const std::vector<std::string> names = {"DSC_1.JPG", "DSC_1.NEF", "IMG_2.HEIC", "IMG_2.MOV",
                                          "IMG_3.MOV", "IMG_4.jpg", "img_4.mp4",  "DSC_5.NEF"};
  const auto text = [](const std::vector<SourceGroup>& groups) {
    std::vector<std::string> out;
    for (const SourceGroup& g : groups)
      out.push_back(g.picture + (g.companion.empty() ? "" : "+" + g.companion));
    return out;
  };
  EXPECT_EQ(text(GroupSourcePictures(names, false)),
            (std::vector<std::string>{"DSC_1.JPG", "DSC_1.NEF", "IMG_2.HEIC+IMG_2.MOV", "IMG_3.MOV",
                                      "IMG_4.jpg+img_4.mp4", "DSC_5.NEF"}));
  EXPECT_EQ(text(GroupSourcePictures(names, true))[0], "DSC_1.JPG+DSC_1.NEF");
  EXPECT_EQ(text(GroupSourcePictures({"a.mov", "a.mp4"}, true)),
            (std::vector<std::string>{"a.mov", "a.mp4"}))
      << "two clips are no live photo";
}

}  // namespace
}  // namespace lumvane
