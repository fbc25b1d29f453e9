// SPDX-License-Identifier: GPL-3.0-or-later
// The command line on a machine where things go wrong: unreadable sources, signals, full
// disks, failed copies. The earlier archive must survive each with its bytes unchanged.
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "tests/support/archive.h"
#include "tests/support/lumvane_process.h"
#include "tests/support/pictures.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::Finished;
using testing_support::Process;
using testing_support::ReadAll;
using testing_support::RunLumvane;
using testing_support::TempDir;

bool HasTemporaries(const TempDir& dir) {
  for (const auto& name : dir.Names()) {
    if (name.starts_with(".lumvane-tmp-") || name == ".lumvane.lock") return true;
  }
  return false;
}

// Waits (at most 30 s) until `dir` holds at least `count` entries.
void WaitForEntries(const TempDir& dir, size_t count) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (dir.Names().size() < count && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

class CliSafety : public testing::Test {
 protected:
  // An archive of two pictures in `dest`, as an earlier run left it.
  void MakeEarlierArchive() {
    testing_support::WritePhoto(photos / "one.jpg", 2001, 1, 1);
    testing_support::WritePhoto(photos / "two.jpg", 2001, 1, 2);
    const Finished made = RunLumvane({"scan", photos.path(), dest.path(), "--copy", "no"});
    ASSERT_EQ(made.exit_code, 0) << made.err;
    earlier = dest.Snapshot();
  }
  void AddLargePhotos(const TempDir& folder, int count) {
    for (int i = 1; i <= count; ++i) {
      testing_jpegs::WriteJpeg(folder / ("IMG_" + std::to_string(i) + ".jpg"), {2400, 1800});
    }
  }

  TempDir photos, dest;
  std::map<std::string, std::string> earlier;
};

// Run as nobody, who may write the archive but not read what was made unreadable.
TEST_F(CliSafety, WhatCannotBeReadFailsTheRunAndTheEarlierArchiveIsKept) {
  MakeEarlierArchive();
  chmod(dest.path().c_str(), 0777);
  chmod(photos.path().c_str(), 0755);
  TempDir locked;
  testing_support::WritePhoto(locked / "a.jpg");
  chmod(locked.path().c_str(), 0);
  Finished run = RunLumvane({"scan", locked.path(), dest.path()}, testing_support::AsNobody());
  chmod(locked.path().c_str(), 0755);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "lumvane: Cannot read the folder " + locked.path() + ": Permission denied\n");
  EXPECT_EQ(run.out, "") << "no Archived line when nothing was archived";
  EXPECT_EQ(dest.Snapshot(), earlier);

  chmod((photos / "two.jpg").c_str(), 0);
  run =
      RunLumvane({"scan", photos.path(), dest.path(), "--copy", "no"}, testing_support::AsNobody());
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err,
            "lumvane: Could not archive 1 picture; it is not in the archive (--verbose "
            "names them).\n");
  EXPECT_NE(run.out.find("The new archive holds 1 picture, the earlier one 2; the earlier "
                         "archive is kept as version 1\n"),
            std::string::npos)
      << run.out;
  EXPECT_TRUE(ReadAll(dest / ".lumvane-history/1/archive.htm") == earlier.at("archive.htm"));
  EXPECT_TRUE(ReadAll(dest / ".lumvane-history/1/archive.txt") == earlier.at("archive.txt"));
}

TEST_F(CliSafety, CtrlCTermAndHupStopAfterThePicturesInHandAndAKilledRunIsCleanedUpByTheNext) {
  AddLargePhotos(photos, 30);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    TempDir out, logs;
    Process run({"scan", photos.path(), out.path(), "--copy", "no", "--jobs", "4"}, logs);
    WaitForEntries(out, 6);
    run.Signal(signal);
    const Finished stopped = run.Wait();
    EXPECT_EQ(stopped.exit_code, 128 + signal) << stopped.err;
    EXPECT_TRUE(ReadAll(out / "archive.htm").ends_with("</html>\r\n"));
    const size_t records = testing_support::RecordsIn(out.path()).size();
    EXPECT_TRUE(records >= 1 && records < 30) << records;
    EXPECT_NE(stopped.out.find("Stopped after archiving " + std::to_string(records)),
              std::string::npos);
    EXPECT_FALSE(HasTemporaries(out));
  }
  TempDir logs;
  Process killed({"scan", photos.path(), dest.path(), "--copy", "no"}, logs);
  WaitForEntries(dest, 6);
  killed.Signal(SIGKILL);
  killed.Wait();
  EXPECT_FALSE(std::filesystem::exists(dest / "archive.htm")) << "a killed run commits nothing";
  const Finished clean = RunLumvane({"scan", photos.path(), dest.path(), "--copy", "no"});
  EXPECT_EQ(clean.exit_code, 0) << clean.err;
  EXPECT_EQ(testing_support::RecordsIn(dest.path()).size(), 30u);
  EXPECT_FALSE(HasTemporaries(dest)) << "the killed run's temporaries are gone";
}

TEST_F(CliSafety, CopiesThatCannotBeMadeAreNamedAndExitOne) {
  testing_support::WritePhoto(photos / "a.jpg", 2001, 1, 1);
  testing_support::WritePhoto(photos / "big.jpg", 2001, 1, 2);
  {  // a small picture in a large file: its images fit where its copy does not
    std::ofstream(photos / "big.jpg", std::ios::app) << std::string(1 << 20, '\0');
  }
  testing_support::SetFileDate(photos / "big.jpg", 2001, 1, 2);
  testing_support::SmallDisk disk(dest.path(), 512 * 1024);
  std::filesystem::create_directory(dest / "a.jpg");
  const Finished run = RunLumvane({"scan", photos.path(), dest.path(), "--copy", "keep"});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "lumvane: Could not copy 2 originals into " + dest.path() + ":\n  " +
                         (photos / "a.jpg") + ": a different file of that name is in the way\n  " +
                         (photos / "big.jpg") + ": " + disk.full_reason() + "\n");
  EXPECT_NE(run.out.find("Archived 2 pictures"), std::string::npos);
  EXPECT_EQ(testing_support::RecordsIn(dest.path()).size(), 2u);
  EXPECT_FALSE(std::filesystem::exists(dest / "big.jpg")) << "no partial copy";
  EXPECT_FALSE(HasTemporaries(dest));
}

TEST_F(CliSafety, RunThatArchivesNothingKeepsTheArchiveAndExitsOne) {
  MakeEarlierArchive();
  TempDir empty;
  const Finished run = RunLumvane({"scan", empty.path(), dest.path()});
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err, "lumvane: No pictures were archived; the archive in " + dest.path() +
                         " was left as it was.\n");
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(dest.Snapshot(), earlier);
}

}  // namespace
