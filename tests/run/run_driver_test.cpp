// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/run_driver.h"
#include "run/run_summary.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "page/page_writer.h"
#include "pictures/catalog_line.h"
#include "tests/support/fake_window.h"
#include "tests/support/pictures.h"
#include "tests/support/run_fixture.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::FakeWindow;
using testing_support::ReadAll;
using testing_support::TempDir;

using RunDriverTest = testing_support::RunFixture;

TEST_F(RunDriverTest, ScanRunCountsInStatusAndEndsDone) {
  AddPhotos(3);
  GoClick(window, state, environment);
  EXPECT_EQ(window.caption(), "Go");
  EXPECT_EQ(window.status_text, " 3 Done!");
  EXPECT_EQ(window.statuses,
            (std::vector<std::string>{"", "Running...", " 1", " 2", " 3", " 3 Done!"}));
  EXPECT_EQ(window.copy_questions, 1);
  EXPECT_EQ(state.picture_count, 3);
  EXPECT_EQ(RecordsInPage(), 3u);
  EXPECT_TRUE(PageIsComplete());
  EXPECT_EQ(ReadAll(dest / "texture.jpg"), ReadAll(environment.texture));
  EXPECT_TRUE(ReadAll(dest / "archive.txt").starts_with(TabCatalogHeader() + "\r\n"));
}

TEST_F(RunDriverTest, StopAfterTheThirdPictureGivesThreeRecordsAndKeepsTheFullerArchive) {
  AddPhotos(6);
  GoClick(window, state, environment);
  EXPECT_EQ(state.kept_version, 0) << "there was no archive";
  const std::string full = ReadAll(dest / "archive.htm");
  window.yields = 0;
  window.StopAfter(3);
  GoClick(window, state, environment);
  EXPECT_EQ(RecordsInPage(), 3u);
  EXPECT_TRUE(PageIsComplete());
  EXPECT_EQ(window.status_text, "Stopped after 3 of 6 pictures");
  EXPECT_EQ(window.caption(), "Go");
  EXPECT_EQ(ReadAll(dest / ".lumvane-history/1/archive.htm"), full);
  EXPECT_EQ(EarlierArchiveLine(state),
            "Stopped after 3 of 6 pictures; the earlier archive is kept as version 1");
}

TEST_F(RunDriverTest, FolderHoldingAnEarlierArchiveIsScannedWithoutItsGeneratedImages) {
  AddPhotos(2);
  window.dest_dir_value = source.path();
  state.copy_mode = CopyMode::kRename;
  GoClick(window, state, environment);
  EXPECT_EQ(window.copy_questions, 0) << "source equals destination: no question";
  ASSERT_EQ(state.picture_count, 2);
  // Rescan: the two originals are pictures (nothing was copied beside them); thumbnails,
  // display images and the archive's two backgrounds are not, and are not listed as passed
  // over either. A third run gives the same.
  for (int run = 0; run < 2; ++run) {
    GoClick(window, state, environment);
    EXPECT_EQ(state.picture_count, 2);
    EXPECT_TRUE(state.passed_over.empty()) << state.passed_over[0].source;
  }
}

TEST_F(RunDriverTest, CancelledCopyQuestionTouchesNothing) {
  AddPhotos(1);
  window.copy_answer = CopyMode::kCancelled;
  dest.Write("archive.htm", "earlier");
  GoClick(window, state, environment);
  EXPECT_EQ(ReadAll(dest / "archive.htm"), "earlier");
  EXPECT_EQ(dest.Names(), std::vector<std::string>{"archive.htm"});
  EXPECT_EQ(window.caption(), "Go");
}

TEST_F(RunDriverTest, UnwritableDestinationGivesAMessageAndKeepsTheEarlierArchive) {
  AddPhotos(1);
  dest.Write("file", "in the way");
  window.dest_dir_value = dest / "file";
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{"Cannot write into " + (dest / "file") + ": Not a directory"});
  EXPECT_EQ(window.caption(), "Go");
  EXPECT_FALSE(state.archive_written);
  if (geteuid() == 0) return;  // root writes into read-only folders
  window.dest_dir_value = dest.path();
  dest.Write("archive.htm", "earlier");
  chmod(dest.path().c_str(), 0555);
  GoClick(window, state, environment);
  chmod(dest.path().c_str(), 0755);
  EXPECT_EQ(ReadAll(dest / "archive.htm"), "earlier");
}

TEST_F(RunDriverTest, SelectionAndTypeChecks) {
  const std::string kUnsupported = std::string("Catalog file type not supported\r") +
                                   "Catalogs are read from files whose names hold .txt, .plb, " +
                                   ".GAL, .tDB, .csv or .mdb, in that letter case.";
  const struct {
    Mode mode;
    const char* file;
    std::string message;
  } cases[] = {{Mode::kCatalogOriginalPaths, "", "Select Catalog File"},
               {Mode::kEdit, "", "Select Archive File"},
               {Mode::kCatalogSourceDir, "trip.TXT", kUnsupported},
               {Mode::kEdit, "Archive.htm", kUnsupported},
               {Mode::kEdit, "photos.txt", kUnsupported}};
  for (const auto& c : cases) {
    FakeWindow w;
    w.mode_value = c.mode;
    w.catalog_file_value = c.file;
    w.dest_dir_value = dest.path();
    GoClick(w, state, environment);
    EXPECT_EQ(w.messages, std::vector<std::string>{c.message}) << c.file;
  }
  EXPECT_TRUE(dest.Names().empty());
}

TEST_F(RunDriverTest, ArchiveHtmInACatalogModeOpensTheEditor) {
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = dest.path();
  window.catalog_file_value = "archive.htm";
  GoClick(window, state, environment);
  EXPECT_EQ(window.editor_folders, std::vector<std::string>{dest.path() + "/"});
  EXPECT_TRUE(dest.Names().empty());
}

TEST_F(RunDriverTest, OwnArchiveTxtAsCatalogIsSwappedOnlyWhenTheRunCompletes) {
  AddPhotos(3);
  GoClick(window, state, environment);
  const std::string first = ReadAll(dest / "archive.txt");
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = dest.path();
  window.catalog_file_value = "archive.txt";

  window.StopAfter(2);
  window.yields = 0;
  GoClick(window, state, environment);
  EXPECT_EQ(ReadAll(dest / "archive.txt"), first) << "stopped: archive.txt unchanged";
  const std::string partial = ReadAll(dest / "archive2.txt");
  EXPECT_EQ(std::count(partial.begin(), partial.end(), '\n'), 3) << "header and two lines";

  window.on_yield = nullptr;
  GoClick(window, state, environment);
  EXPECT_FALSE(std::filesystem::exists(dest / "archive2.txt"));
  EXPECT_EQ(ReadAll(dest / "archive.txt"), first) << "the same pictures give the same catalog";
  EXPECT_EQ(RecordsInPage(), 3u);
}

TEST_F(RunDriverTest, CatalogThatCannotBeOpenedEndsTheRunKeepingTheArchive) {
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = source.path();
  window.catalog_file_value = "gone.txt";
  dest.Write("archive.htm", "earlier");
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{"gone.txt Error 53: No such file or directory"});
  EXPECT_EQ(dest.Names(), std::vector<std::string>{"archive.htm"});
  EXPECT_EQ(ReadAll(dest / "archive.htm"), "earlier");
  EXPECT_EQ(window.caption(), "Go");
  EXPECT_EQ(window.status_text, "");
}

// Holds an exclusive lock on a file from a second process until Release.
class LockingProcess {
 public:
  explicit LockingProcess(const std::string& path) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    EXPECT_EQ(pipe(hold_), 0);
    pid_ = fork();
    if (pid_ == 0) {
      close(ready[0]);
      close(hold_[1]);
      const int fd = open(path.c_str(), O_RDWR);
      flock(fd, LOCK_EX);
      char byte = 1;
      (void)!write(ready[1], &byte, 1);
      (void)!read(hold_[0], &byte, 1);  // returns when the parent closes its end
      _exit(0);
    }
    close(ready[1]);
    close(hold_[0]);
    char byte;
    EXPECT_EQ(read(ready[0], &byte, 1), 1);
    close(ready[0]);
  }
  ~LockingProcess() { Release(); }
  void Release() {
    if (pid_ <= 0) return;
    close(hold_[1]);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  int hold_[2];
  pid_t pid_ = -1;
};

TEST_F(RunDriverTest, CatalogLockedByAnotherProgramAsksToRetry) {
  AddPhotos(2);
  source.Write("photos.txt",
               (source / "IMG_1.jpg") + "\tOne\n" + (source / "IMG_2.jpg") + "\tTwo\n");
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_dir_value = source.path();
  window.catalog_file_value = "photos.txt";
  LockingProcess other(source / "photos.txt");
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{"photos.txt is currently open by another program.\rPlease "
                                     "close the file and try again."});
  EXPECT_TRUE(dest.Names().empty()) << "cancelled: nothing written";

  window.retries_left = 1;
  window.on_retry = [&] { other.Release(); };
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages.size(), 2u);
  EXPECT_EQ(RecordsInPage(), 2u) << "retried after the other program let go";
  EXPECT_EQ(window.status_text, " 2 Done!");
}

TEST_F(RunDriverTest, CatalogTypesWithoutAReaderSayWhy) {
  window.mode_value = Mode::kCatalogOriginalPaths;
  window.catalog_file_value = "photos.mdb";
  environment.importers.catalog_readers.erase(".mdb");  // a build without libmdb
  GoClick(window, state, environment);
  EXPECT_EQ(
      window.messages,
      (std::vector<std::string>{"Reading .mdb catalogs is not available in this version yet."}));
  EXPECT_TRUE(dest.Names().empty());
}

}  // namespace
}  // namespace lumvane
