// SPDX-License-Identifier: GPL-3.0-or-later
// A drive or volume found from one picture: the folder chosen less the picture's own folders.
#include "locations/locate_pictures.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::TempDir;

CatalogPlace Drive(const std::string& within) {
  return {CatalogPlace::Kind::kDrive, "D", within};
}

class LocatePictures : public testing::Test {
 protected:
  // A picture at `path` below the folder, and the run's note of it as missing at `place`.
  void Missing(const std::string& path, const CatalogPlace& place) {
    std::filesystem::create_directories(std::filesystem::path(disk / path).parent_path());
    disk.Write(path, "a photo");
    missing.push_back(place);
  }
  Status Locate(const CatalogPlace& place, const std::string& chosen) {
    return LocateFrom(place, disk / chosen, missing, &located);
  }
  TempDir disk;
  std::vector<CatalogPlace> missing;
  Located located;
};

TEST_F(LocatePictures, TheChosenFolderLessThePicturesFoldersIsTheRoot) {
  Missing("old/Photos/1998/a.jpg", Drive("PHOTOS\\1998\\A.JPG"));  // Windows ignores case
  Missing("old/Photos/1999/b.jpg", Drive("Photos\\1999\\b.jpg"));
  Missing("old/c.jpg", Drive("c.jpg"));
  missing.push_back(Drive("gone.jpg"));
  missing.push_back({CatalogPlace::Kind::kVolume, "CD", "c.jpg"});  // not of this drive
  ASSERT_TRUE(Locate(Drive("PHOTOS\\1998\\A.JPG"), "old/Photos/1998").ok());
  EXPECT_EQ(located.root, disk / "old");
  EXPECT_EQ(located.found, 3);
  EXPECT_EQ(located.missing, 4);
  ASSERT_TRUE(Locate(Drive("c.jpg"), "old/").ok()) << "a picture in the drive's root";
  EXPECT_EQ(located.root, disk / "old");
}

TEST_F(LocatePictures, AVolumeByItsLabel) {
  const CatalogPlace place{CatalogPlace::Kind::kVolume, "OLD CD", "Trip\\x.jpg"};
  Missing("cd/Trip/x.jpg", place);
  ASSERT_TRUE(Locate(place, "cd/Trip").ok());
  EXPECT_EQ(located.root, disk / "cd");
  EXPECT_EQ(located.found, 1);
}

TEST_F(LocatePictures, AnEmptyFolderBesideItsCaseTwinHidesNothing) {
  Missing("twin/PHOTOS/c.jpg", Drive("Photos\\c.jpg"));
  std::filesystem::create_directories(disk / "twin/photos");
  ASSERT_TRUE(Locate(Drive("Photos\\c.jpg"), "twin/PHOTOS").ok());
  EXPECT_EQ(located.root, disk / "twin");
  EXPECT_EQ(located.found, 1);
}

TEST_F(LocatePictures, ChoicesThatGiveNoRootAreRefusedWithTheReason) {
  Missing("copy/1998/a.jpg", Drive("Photos\\1998\\a.jpg"));
  EXPECT_EQ(Locate(Drive("Photos\\1998\\a.jpg"), "copy").message(),
            (disk / "copy") + " holds no a.jpg.");
  EXPECT_EQ(Locate(Drive("Photos\\1998\\a.jpg"), "copy/1998").message(),
            (disk / "copy/1998") +
                " holds a.jpg, but not inside the folders D:\\Photos\\1998\\a.jpg names. The drive "
                "or volume's folder must hold Photos\\1998\\a.jpg below it.");
  Missing("two/photos/b.jpg", Drive("Photos\\b.jpg"));
  Missing("two/PHOTOS/b.jpg", Drive("Photos\\b.jpg"));
  EXPECT_EQ(Locate(Drive("Photos\\b.jpg"), "two/photos").message(),
            "More than one file below " + (disk / "two") +
                " could be D:\\Photos\\b.jpg (names that differ only in letter case); nothing "
                "was saved.");
}

}  // namespace
}  // namespace lumvane
