// SPDX-License-Identifier: GPL-3.0-or-later
// The run never leaves the user with less than they had: failures before the first picture
// and failures of the destination leave it as it was, and each failure says what and why.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "platform/destination_lock.h"
#include "run/run_driver.h"
#include "run/run_summary.h"
#include "tests/support/fake_window.h"
#include "tests/support/pictures.h"
#include "tests/support/run_fixture.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::FakeWindow;
using testing_support::ReadAll;
using testing_support::TempDir;

class RunSafetyTest : public testing_support::RunFixture {
 protected:
  void SetUp() override {
    RunFixture::SetUp();
    window.copy_answer = CopyMode::kNone;
  }
  size_t RecordsIn(const std::string& page) { return ReadCatalogLines(ReadAll(page)).size(); }
};

TEST_F(RunSafetyTest, UnreadableSourceLeavesTheDestinationAsItWas) {
  MakeEarlierArchive();
  window.source_dir_value = source / "gone";
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{"Cannot read the folder " + (source / "gone") +
                                     ": No such file or directory"});
  EXPECT_EQ(dest.Snapshot(), earlier);
  EXPECT_FALSE(state.archive_written);

  window.dest_dir_value = dest / "new";
  GoClick(window, state, environment);
  EXPECT_FALSE(std::filesystem::exists(dest / "new")) << "created only after the source opened";
}

TEST_F(RunSafetyTest, ImporterFailingBeforeItsFirstPictureAbandonsAndAfterItKeepsThem) {
  MakeEarlierArchive();
  int pictures_before_failure = 0;
  environment.importers.scan = [&](ImportRun& run) {
    for (int i = 0; i < pictures_before_failure; ++i)
      run.Process(testing_support::PictureAt(source / "one.jpg"));
    return Status::Error(StatusCode::kDamaged, "The catalog is damaged after its record " +
                                                   std::to_string(pictures_before_failure));
  };
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"The catalog is damaged after its record 0"});
  EXPECT_EQ(dest.Snapshot(), earlier);
  EXPECT_EQ(window.status_text, "");

  pictures_before_failure = 1;
  window.messages.clear();
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"The catalog is damaged after its record 1"});
  EXPECT_EQ(RecordsIn(dest / "archive.htm"), 1u) << "the pictures before the failure are kept";
  EXPECT_TRUE(state.archive_written);
}

TEST_F(RunSafetyTest, CatalogTypeComesFromTheFileNameNotItsFolders) {
  testing_support::WritePhoto(source / "a.jpg");
  std::filesystem::create_directory(source / "old.mdb.d");
  std::filesystem::create_directory(source / "trips.txt.d");
  TempDir other;
  std::ofstream(source / "old.mdb.d/list.txt") << (source / "a.jpg") << "\tHarbour\n";
  std::string line = "NOLABEL,x,x,x,x," + source.path();
  for (int column = 6; column <= 21; ++column) line += ",";  // name in column 22
  std::ofstream(source / "trips.txt.d/export.csv") << "Label\r\n" << line << "a.jpg,,hills\r\n";
  environment.drive_map['C'] = "/";

  UseCatalog(source / "old.mdb.d", "list.txt");
  GoClick(window, state, environment);
  EXPECT_EQ(state.picture_count, 1) << "a tab catalog, whatever its folder is called";
  window.dest_dir_value = other.path();
  UseCatalog(source / "trips.txt.d", "export.csv");
  GoClick(window, state, environment);
  EXPECT_TRUE(window.messages.empty()) << window.messages[0];
  ASSERT_EQ(state.picture_count, 1) << "read as an export, not as a tab catalog";
  EXPECT_EQ(DecodeRecord(ReadCatalogLines(ReadAll(other / "archive.htm"))[0]).subject, "hills");
}

TEST_F(RunSafetyTest, RelativeCatalogPathsAreReadFromTheCatalogsFolder) {
  std::filesystem::create_directory(source / "sub");
  testing_support::WritePhoto(source / "bare.jpg", 2001, 1, 1);
  testing_support::WritePhoto(source / "sub/x.jpg", 2001, 1, 2);
  source.Write("list.txt", "bare.jpg\tBare\nsub/x.jpg\tSlash\nsub\\x.jpg\tBackslash\n");
  UseCatalog(source.path(), "list.txt");
  GoClick(window, state, environment);
  EXPECT_EQ(state.picture_count, 3);
  const auto records = ReadCatalogLines(ReadAll(dest / "archive.htm"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(DecodeRecord(records[0]).path, source.path());
  EXPECT_EQ(DecodeRecord(records[1]).path, source / "sub");
  EXPECT_EQ(DecodeRecord(records[2]).path, source / "sub");
}

TEST_F(RunSafetyTest, FifosAreRefusedWithoutWaitingOnThem) {
  MakeEarlierArchive();
  ASSERT_EQ(mkfifo((source / "pipe.txt").c_str(), 0644), 0);
  UseCatalog(source.path(), "pipe.txt");
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"pipe.txt Error 75: Not a regular file"});
  EXPECT_EQ(dest.Snapshot(), earlier);

  ASSERT_EQ(mkfifo((source / "x.jpg").c_str(), 0644), 0);
  source.Write("list.txt", (source / "x.jpg") + "\n" + (source / "one.jpg") + "\n");
  UseCatalog(source.path(), "list.txt");
  GoClick(window, state, environment);
  EXPECT_EQ(state.picture_count, 1);
  ASSERT_EQ(state.passed_over.size(), 1u);
  EXPECT_EQ(state.passed_over[0].reason, "not a regular file");
}

TEST_F(RunSafetyTest, SecondRunIntoADestinationInUseIsRefusedAtOnce) {
  MakeEarlierArchive();
  DestinationLock other_run;
  ASSERT_TRUE(other_run.Acquire(dest.path()).ok());
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{dest.path() + " is being written by another run"});
  EXPECT_EQ(window.caption(), "Go");
  other_run.Release();
  EXPECT_EQ(dest.Snapshot(), earlier);
}

TEST_F(RunSafetyTest, UncopiedOriginalsAreReportedAfterTheRunAndTheirRecordsStay) {
  testing_support::WritePhoto(source / "a.jpg");
  std::filesystem::create_directory(dest / "a.jpg");
  window.copy_answer = CopyMode::kKeepNames;
  GoClick(window, state, environment);
  EXPECT_EQ(state.picture_count, 1);
  EXPECT_EQ(window.reports, 1);
  EXPECT_EQ(UncopiedMessage(state, dest.path()),
            "Could not copy 1 original into " + dest.path() + ":\r  " + (source / "a.jpg") +
                ": a different file of that name is in the way");
  EXPECT_EQ(RunSummaryLine(state), "1 archived; 1 original not copied");
}

TEST_F(RunSafetyTest, RunThatArchivesNothingKeepsAnArchiveWithPictures) {
  MakeEarlierArchive(1);
  TempDir empty;
  window.source_dir_value = empty.path();
  GoClick(window, state, environment);
  EXPECT_EQ(dest.Snapshot(), earlier);
  EXPECT_EQ(window.messages, std::vector<std::string>{"No pictures were archived; the archive in " +
                                                      dest.path() + " was left as it was."});
  EXPECT_FALSE(state.archive_written);

  source.Write("moved.txt", "/nowhere/a.jpg\n/nowhere/b.jpg\n");
  UseCatalog(source.path(), "moved.txt");
  window.messages.clear();
  GoClick(window, state, environment);
  EXPECT_EQ(dest.Snapshot(), earlier);
  ASSERT_EQ(window.messages.size(), 1u);
  EXPECT_TRUE(
      window.messages[0].ends_with("left as it was.\r0 archived; 2 passed over: file missing"))
      << window.messages[0];

  TempDir fresh;
  window.dest_dir_value = fresh.path();
  GoClick(window, state, environment);
  EXPECT_TRUE(state.archive_written) << "a folder without an archive gets the empty page";
}

TEST(RunSummary, CountsByReasonAndListsTheFiles) {
  RunState state;
  state.picture_count = 3;
  EXPECT_EQ(RunSummaryLine(state), "3 archived");
  EXPECT_FALSE(RunLeftSomethingOut(state));
  state.passed_over = {{"/a.jpg", "file missing"}, {"/b.jpg", "file missing"}};
  EXPECT_EQ(RunSummaryLine(state), "3 archived; 2 passed over: file missing");
  state.passed_over.push_back({"/c.jpg", "image damaged"});
  state.uncopied = {{"/d.jpg", "No space left on device"}};
  EXPECT_EQ(RunSummaryLine(state),
            "3 archived; 3 passed over: 2 file missing, 1 image damaged; 1 original not copied");
  EXPECT_EQ(RunSummaryDetails(state),
            "/a.jpg: file missing\n/b.jpg: file missing\n/c.jpg: image damaged\n"
            "/d.jpg: not copied: No space left on device\n");
}

// A destination that fills up during a run: the run ends, abandons, and the earlier archive
// stays as it was, with no temporary or new file left.
TEST(RunOnAFullDisk, EndsTheRunAndKeepsTheEarlierArchive) {
  TempDir small, big, dest;
  for (int i = 1; i <= 4; ++i)
    testing_support::WritePhoto(small / ("s" + std::to_string(i) + ".jpg"));
  for (int i = 1; i <= 6; ++i) {
    testing_jpegs::WriteNoiseJpeg(big / ("b" + std::to_string(i) + ".jpg"), 1400, 1000);
  }
  testing_support::SmallDisk disk(dest.path(), 300 * 1024);
  FakeWindow window;
  window.copy_answer = CopyMode::kNone;
  window.source_dir_value = small.path();
  window.dest_dir_value = dest.path();
  RunState state;
  RunEnvironment environment = DefaultRunEnvironment();
  environment.texture = "";
  GoClick(window, state, environment);
  ASSERT_TRUE(window.messages.empty()) << window.messages[0];
  const auto earlier = dest.Snapshot();

  window.source_dir_value = big.path();
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"Cannot write into " + dest.path() + ": " +
                                                      disk.full_reason()});
  EXPECT_EQ(dest.Snapshot(), earlier);
  EXPECT_FALSE(state.archive_written);
  EXPECT_EQ(window.caption(), "Go");
}

TEST_F(RunSafetyTest, ABackgroundThatDoesNotFitOnTheDiskIsReportedAndTheArchiveStays) {
  TempDir textures;
  testing_support::WritePhoto(source / "a.jpg");
  textures.Write("texture.jpg", std::string(400 * 1024, 'x'));
  testing_support::SmallDisk disk(dest.path(), 200 * 1024);
  environment.texture = textures / "texture.jpg";
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"Cannot copy texture.jpg into " +
                                                      dest.path() + ": " + disk.full_reason()});
  EXPECT_EQ(RecordsIn(dest / "archive.htm"), 1u);
}

}  // namespace
}  // namespace lumvane
