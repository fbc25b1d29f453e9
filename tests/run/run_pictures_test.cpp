// SPDX-License-Identifier: GPL-3.0-or-later
// Every picture of a run gets its own files: same-named originals from other folders, names
// that differ in letter case only, and scanned names that hold a backslash.
#include <filesystem>

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "run/run_driver.h"
#include "tests/imagelib/test_jpegs.h"
#include "tests/support/archive.h"
#include "tests/support/fake_window.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_jpegs::Kind;
using testing_support::FakeWindow;
using testing_support::ReadAll;
using testing_support::TempDir;

class RunPicturesTest : public testing::Test {
 protected:
  void SetUp() override {
    window.dest_dir_value = dest.path();
    window.copy_answer = CopyMode::kRename;
    environment = DefaultRunEnvironment();
  }

  std::vector<PictureRecord> Records() { return testing_support::RecordsIn(dest.path()); }

  // The colour at the display image's top left of a record.
  testing_jpegs::Rgb DisplayColour(const PictureRecord& record) {
    const auto names = NamesForCode(record.thumb.substr(1, 7));
    return testing_jpegs::PixelAt(testing_jpegs::ReadJpeg(dest / names->display), 2, 2);
  }

  TempDir source, dest;
  FakeWindow window;
  RunState state;
  RunEnvironment environment;
};

TEST_F(RunPicturesTest, SameNameAndTimeFromTwoCardsKeepTheirOwnImagesAndCopies) {
  std::filesystem::create_directories(source / "cardA");
  std::filesystem::create_directories(source / "cardB");
  testing_jpegs::WriteJpeg(source / "cardA/DSC0001.jpg", {64, 48, Kind::kRgb});
  testing_jpegs::WriteJpeg(source / "cardB/DSC0001.jpg", {64, 48, Kind::kGray});
  for (const char* card : {"cardA", "cardB"}) {
    testing_support::SetFileDate(source / (std::string(card) + "/DSC0001.jpg"), 2005, 6, 7);
  }
  source.Write("cards.txt", "cardA/DSC0001.jpg\tA\ncardB/DSC0001.jpg\tB\n");
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = source.path();
  window.catalog_file_value = "cards.txt";
  GoClick(window, state, environment);
  auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_NE(records[0].thumb, records[1].thumb);
  EXPECT_GT(DisplayColour(records[0]).r, 150) << "card A's red photo";
  EXPECT_LT(DisplayColour(records[1]).r, 100) << "card B's dark grey photo";
  const auto copies = [&] {
    int count = 0;
    for (const auto& record : Records()) {
      const auto names = NamesForCode(record.thumb.substr(1, 7));
      count += std::filesystem::exists(dest / names->copy);
    }
    return count;
  };
  EXPECT_EQ(copies(), 2) << "each original copied under its own name";

  const std::string first_names = records[0].thumb + records[1].thumb;
  GoClick(window, state, environment);
  records = Records();
  EXPECT_EQ(records[0].thumb + records[1].thumb, first_names) << "the same on every run";
}

TEST_F(RunPicturesTest, ImagesOfAnotherPhotoOfTheSameNameAndTimeAreNeverReused) {
  for (const auto& [card, kind] : {std::pair{"cardA", Kind::kRgb}, {"cardB", Kind::kGray}}) {
    std::filesystem::create_directories(source / card);
    testing_jpegs::WriteJpeg(source / (std::string(card) + "/IMG_0001.jpg"), {64, 48, kind});
    testing_support::SetFileDate(source / (std::string(card) + "/IMG_0001.jpg"), 2005, 6, 7);
  }
  window.mode_value = Mode::kSourceScan;
  window.copy_answer = CopyMode::kNone;
  for (const char* card : {"cardA", "cardB", "cardB"}) {
    window.source_dir_value = source / card;
    GoClick(window, state, environment);
  }
  EXPECT_LT(DisplayColour(Records()[0]).r, 100) << "card B's own dark grey photo";
  EXPECT_EQ(state.reused, 1) << "the images of the very same file are kept";
}

TEST_F(RunPicturesTest, NamesThatDifferInLetterCaseOnlyAndBackslashesInScannedNames) {
  testing_jpegs::WriteJpeg(source / "IMG_0001.JPG", {64, 48, Kind::kRgb});
  testing_jpegs::WriteJpeg(source / "IMG_0001.jpg", {64, 48, Kind::kGray});
  testing_jpegs::WriteJpeg(source / "back\\slash.jpg", {64, 48, Kind::kRgb});
  for (const char* name : {"IMG_0001.JPG", "IMG_0001.jpg", "back\\slash.jpg"}) {
    testing_support::SetFileDate(source / name, 2005, 6, 7);
  }
  window.source_dir_value = source.path();
  window.mode_value = Mode::kSourceScan;
  GoClick(window, state, environment);
  EXPECT_TRUE(state.passed_over.empty()) << state.passed_over[0].source;
  const auto records = Records();
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].source, "back\\slash.jpg") << "file-manager order: b before I";
  EXPECT_NE(records[1].thumb, records[2].thumb);
  EXPECT_NE(DisplayColour(records[1]).r > 150, DisplayColour(records[2]).r > 150)
      << "one red, one grey: each record shows its own photo";
}

TEST_F(RunPicturesTest, TheChosenFolderModeNeedsNoDriveAndFindsNamesInAnyLetterCase) {
  std::filesystem::create_directories(source / "flat");
  testing_jpegs::WriteJpeg(source / "flat/IMG_0001.jpg", {64, 48, Kind::kRgb});
  testing_jpegs::WriteJpeg(source / "flat/Img_0002.JPG", {64, 48, Kind::kGray});
  source.Write("trip.txt",
               "D:\\Photos\\1998\\IMG_0001.JPG\tHarbour\nD:\\Photos\\1998\\IMG_0002.jpg\tQuay\n"
               "D:\\Photos\\IMG_0003.jpg\tGone\n");
  window.mode_value = Mode::kCatalogSourceDir;
  window.catalog_dir_value = source.path();
  window.catalog_file_value = "trip.txt";
  window.source_dir_value = source / "flat";
  window.copy_answer = CopyMode::kNone;
  GoClick(window, state, environment);
  const auto records = Records();
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].path, source / "flat");
  EXPECT_EQ(records[1].source, "Img_0002.jpg") << "the name on disk";
  ASSERT_EQ(state.passed_over.size(), 1u);
  EXPECT_EQ(state.passed_over[0].source, source / "flat/IMG_0003.jpg");
  EXPECT_EQ(state.passed_over[0].reason, "file missing");
  EXPECT_FALSE(state.passed_over[0].place) << "no drive is needed, so none is offered to Locate";
  EXPECT_NE(ReadAll(dest / "archive.txt").find("\nD:\\Photos\\1998\\IMG_0001.JPG\t"),
            std::string::npos)
      << "archive.txt keeps the catalog's own path";
}

}  // namespace
}  // namespace lumvane
