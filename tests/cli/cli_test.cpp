// SPDX-License-Identifier: GPL-3.0-or-later
// The lumvane command line, run as a real process.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <thread>

#include <gtest/gtest.h>

#include "pictures/catalog_line.h"
#include "tests/imagelib/test_pictures.h"
#include "tests/support/archive.h"
#include "tests/support/binary_catalogs.h"
#include "tests/support/exiftool.h"
#include "tests/support/lumvane_process.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::Finished;
using testing_support::Process;
using testing_support::ReadAll;
using testing_support::RunLumvane;
using testing_support::TempDir;

using testing_support::RecordsIn;

TEST(Cli, VersionHelpAndUsageErrors) {
  EXPECT_EQ(RunLumvane({"--version"}).out, "Lumvane 1.0.0\n");
  const Finished help = RunLumvane({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("lumvane scan SOURCE_DIR DEST_DIR"), std::string::npos);
  EXPECT_TRUE(RunLumvane({"scan", "--help"}).out.starts_with("Usage: lumvane scan "));
  const Finished one_folder = RunLumvane({"scan", "only-one"});
  EXPECT_EQ(one_folder.exit_code, 2);
  EXPECT_EQ(one_folder.err,
            "lumvane: scan takes SOURCE_DIR and DEST_DIR\nTry 'lumvane scan --help'.\n");
  EXPECT_EQ(RunLumvane({"frobnicate"}).err,
            "lumvane: unknown command frobnicate\nTry 'lumvane --help'.\n");
  if (std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr &&
      std::getenv("QT_QPA_PLATFORM") == nullptr) {
    const Finished window = RunLumvane({});
    EXPECT_EQ(window.exit_code, 2) << "no display: a message, not Qt's abort";
    EXPECT_TRUE(window.err.starts_with("lumvane: there is no display")) << window.err;
  }
  const Finished missing = RunLumvane({"scan", "/no/such/folder", "/tmp"});
  EXPECT_EQ(missing.exit_code, 1);
  EXPECT_NE(missing.err.find("/no/such/folder"), std::string::npos);
}

TEST(Cli, SummaryCountsArchivedAndPassedOverPictures) {
  TempDir source, dest;
  testing_support::WritePhoto(source / "a.jpg");
  testing_support::WritePhoto(source / "b.JPEG");
  source.Write("broken.jpg", "not a picture");
  ASSERT_TRUE(testing_pictures::WritePicture(source / "c.png", {testing_pictures::Format::kPng}));
  TempDir jpeg_dest;
  const Finished jpegs =
      RunLumvane({"scan", source.path(), jpeg_dest.path(), "--copy", "no", "--jpeg-only"});
  EXPECT_EQ(jpegs.out, "Archived 2 pictures into " + (jpeg_dest / "archive.htm") +
                           "\nPassed over 1: 1 not a JPEG image\n");
  const Finished run =
      RunLumvane({"scan", source.path(), dest.path(), "--verbose", "--copy", "no"});
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, "Archived 3 pictures (2 JPEG, 1 PNG) into " + (dest / "archive.htm") +
                         "\nPassed over 1: 1 not a picture\n  " + (source / "broken.jpg") +
                         ": not a picture\n");
  EXPECT_EQ(dest.Names().size(), 6u + 4u) << "three pairs of images, page, catalog, textures";
  EXPECT_TRUE(RunLumvane({"scan", source.path(), dest.path(), "--quiet"}).out.empty());
  EXPECT_EQ(dest.Names().size(), 6u + 4u) << "without --copy, no original is copied";
  EXPECT_NE(RunLumvane({"scan", source.path(), source.path(), "--copy", "rename"})
                .out.find("Nothing was copied: the originals are in the archive folder already."),
            std::string::npos);
  const Finished in_place = RunLumvane({"scan", source.path(), source.path()});
  EXPECT_EQ(in_place.exit_code, 0) << in_place.err;
  EXPECT_NE(in_place.out.find("\nPassed over 1: 1 not a picture\n"), std::string::npos)
      << "the archive's own images are not listed: " << in_place.out;

  // A damaged photo is a picture left out: the run fails, and says how to see which.
  const std::string whole = ReadAll(source / "a.jpg");
  source.Write("cut.jpg", whole.substr(0, whole.size() / 2));
  const Finished damaged = RunLumvane({"scan", source.path(), dest.path(), "--copy", "no"});
  EXPECT_EQ(damaged.exit_code, 1);
  EXPECT_EQ(damaged.err,
            "lumvane: Could not archive 1 picture; it is not in the archive (--verbose names "
            "them).\n");
}

TEST(CliCatalog, TabCatalogWithSavedLocationsOrASourceFolder) {
  TempDir pictures, dest, chosen, dest2;
  testing_support::WritePhoto(pictures / "a.jpg", 1999, 4, 5);
  testing_support::WritePhoto(pictures / "b.jpg", 2000, 5, 6);
  pictures.Write("trip.txt", "SourceFile\tTitle\n" + (pictures / "a.jpg") + "\tHarbour\tboats\n" +
                                 "D:\\Old\\b.jpg\tHill\n");
  const Finished originals =
      RunLumvane({"catalog", pictures / "trip.txt", dest.path(), "--copy", "no"});
  EXPECT_EQ(originals.exit_code, 1) << "a picture left out: " << originals.err;
  EXPECT_NE(originals.out.find("Archived 1 picture into"), std::string::npos) << originals.out;
  EXPECT_NE(originals.out.find("Passed over 1: 1 drive D: not available\nThe drive D: is not on "
                               "this machine: --drive 'D=DIR' reads it from DIR.\n"),
            std::string::npos)
      << originals.out;
  auto records = lumvane::ReadCatalogLines(ReadAll(dest / "archive.htm"));
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0][4], "Harbour");

  // Saved locations: every run finds the drive, in any letter case; --drive overrides one
  // for its run only.
  TempDir config, old_disk;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  std::filesystem::create_directories(old_disk / "old");
  std::filesystem::copy_file(pictures / "b.jpg", old_disk / "old/B.JPG");
  EXPECT_EQ(RunLumvane({"locations", "--drive", "d=" + old_disk.path()}).exit_code, 0);
  EXPECT_EQ(RunLumvane({"catalog", pictures / "trip.txt", dest.path(), "--quiet"}).exit_code, 0);
  EXPECT_EQ(RecordsIn(dest.path()).size(), 2u);
  const Finished overridden = RunLumvane(
      {"catalog", pictures / "trip.txt", dest.path(), "--drive", "D=" + (old_disk / "gone")});
  EXPECT_NE(overridden.out.find("D: is read from " + (old_disk / "gone") + ", which is not there"),
            std::string::npos)
      << overridden.out;
  EXPECT_EQ(RunLumvane({"locations"}).out, "drive D:                 " + old_disk.path() + "\n");
  EXPECT_EQ(RunLumvane({"locations", "--forget", "D:"}).out,
            "No locations are saved (" + (config / "lumvane/lumvane.ini") + ").\n");
  EXPECT_EQ(RunLumvane({"locations", "--forget", "D"}).exit_code, 1);
  unsetenv("XDG_CONFIG_HOME");

  // With --source every picture is read from the chosen folder; a catalog's pictures of
  // other formats are archived too.
  testing_support::WritePhoto(chosen / "a.jpg");
  using testing_pictures::Format;
  ASSERT_TRUE(testing_pictures::WritePicture(chosen / "scan.gif", {Format::kGif}));
  ASSERT_TRUE(testing_pictures::WritePicture(chosen / "page.TIF", {Format::kTiff}));
  pictures.Write("mixed.txt",
                 "SourceFile\tTitle\nD:\\a.jpg\tHarbour\nD:\\scan.gif\tScan\n"
                 "D:\\page.TIF\tPage\n");
  const Finished from_source =
      RunLumvane({"catalog", pictures / "mixed.txt", dest2.path(), "--source", chosen.path()});
  EXPECT_EQ(from_source.exit_code, 0) << from_source.err;
  EXPECT_NE(from_source.out.find("Archived 3 pictures (1 GIF, 1 JPEG, 1 TIFF)"), std::string::npos)
      << from_source.out;
  records = lumvane::ReadCatalogLines(ReadAll(dest2 / "archive.htm"));
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[2][2], chosen.path());
  EXPECT_EQ(records[2][3], "page.tif");
  EXPECT_EQ(records[2][4], "Page");
}

TEST(CliLocations, SettingsThatCannotBeReadAreErrorsAndSavesMadeAtOnceKeepEachOther) {
  TempDir config, pictures, dest;
  setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  std::filesystem::create_directories(config / "lumvane");
  const std::string ini = config / "lumvane/lumvane.ini";
  pictures.Write("trip.txt", "D:\\a.jpg\tHarbour\n");
  const auto expect_refused = [&](const std::string& why) {
    const Finished listed = RunLumvane({"locations"});
    EXPECT_EQ(listed.exit_code, 1) << why;
    EXPECT_NE(listed.err.find(ini), std::string::npos) << listed.err;
    EXPECT_NE(listed.err.find(why), std::string::npos) << listed.err;
    const Finished run = RunLumvane({"catalog", pictures / "trip.txt", dest.path()});
    EXPECT_EQ(run.exit_code, 1) << why;
    EXPECT_FALSE(std::filesystem::exists(dest / "archive.htm")) << why;
  };
  config.Write("lumvane/lumvane.ini", "[drives]\nsize=2000000000\n");
  expect_refused("is damaged: it claims 2000000000 drives");  // at once, not after minutes
  EXPECT_EQ(RunLumvane({"locations", "--drive", "D=" + dest.path()}).exit_code, 1);
  EXPECT_EQ(ReadAll(ini), "[drives]\nsize=2000000000\n") << "a damaged file is not replaced";
  std::filesystem::remove(ini);
  ASSERT_EQ(mkfifo(ini.c_str(), 0644), 0);
  expect_refused("is not a regular file");  // and nothing waited on the FIFO
  std::filesystem::remove(ini);
  std::filesystem::create_symlink("/dev/null", ini);
  EXPECT_EQ(RunLumvane({"locations", "--drive", "D=" + dest.path()}).exit_code, 1);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  std::filesystem::remove(ini);
  config.Write("lumvane/lumvane.ini", "[drives]\n");
  chmod(config.path().c_str(), 0755);
  chmod((config / "lumvane").c_str(), 0755);
  chmod(ini.c_str(), 0);
  EXPECT_NE(RunLumvane({"locations"}, testing_support::AsNobody()).err.find("Permission denied"),
            std::string::npos);
  std::filesystem::remove(ini);

  // Two loops of saves at once: every volume is kept.
  const std::string loop =
      "for i in $(seq 12); do \"$0\" locations --volume \"$1$i=$2\" >/dev/null || exit 1; done";
  TempDir logs_a, logs_b;
  testing_support::Process a({"A", dest.path()}, logs_a, {"/bin/bash", "-c", loop});
  testing_support::Process b({"B", dest.path()}, logs_b, {"/bin/bash", "-c", loop});
  EXPECT_EQ(a.Wait().exit_code, 0);
  EXPECT_EQ(b.Wait().exit_code, 0);
  const std::string listed = RunLumvane({"locations"}).out;
  EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 24) << listed;
  unsetenv("XDG_CONFIG_HOME");
}

TEST(CliMaster, MergesRefusesAPictureArchiveAndFailsOnAnUnreadableSubfolder) {
  TempDir photos, master;
  testing_support::WritePhoto(photos / "a.jpg");
  for (const char* folder : {"Trip 2", "Trip 10"}) {
    ASSERT_EQ(RunLumvane({"scan", photos.path(), master / folder, "--copy", "no"}).exit_code, 0);
  }
  const Finished merged = RunLumvane({"master", master.path()});
  EXPECT_EQ(merged.exit_code, 0) << merged.err;
  EXPECT_EQ(merged.out,
            "Merged 2 pictures from 2 archives into " + (master / "archive.htm") + "\n");
  EXPECT_EQ(RunLumvane({"master", master.path(), "--copy", "no"}).exit_code, 2);

  ASSERT_EQ(RunLumvane({"scan", photos.path(), master.path(), "--copy", "no"}).exit_code, 0);
  const Finished refused = RunLumvane({"master", master.path()});
  EXPECT_EQ(refused.exit_code, 1);
  EXPECT_EQ(refused.err,
            "lumvane: " + (master / "archive.htm") +
                " is an archive of 1 picture, not a master archive; it was left as "
                "it was. --replace replaces it, keeping it in the archive's history.\n");
  EXPECT_EQ(RunLumvane({"master", master.path(), "--replace", "--quiet"}).exit_code, 0);

  // The scan, the master and an edit each keep what they replaced, and no later one loses it.
  ASSERT_EQ(RunLumvane({"edit", master.path(), "--set", "1", "title=Harbour"}).exit_code, 0);
  const Finished history = RunLumvane({"history", master.path()});
  const std::vector<std::string> kept = {"  edit     2 pictures", "  master   1 picture",
                                         "  scan     2 pictures"};
  size_t at = 0;
  for (const std::string& line : kept) {
    at = history.out.find(line, at);
    EXPECT_NE(at, std::string::npos) << line << " in\n" << history.out;
  }
  const Finished restored = RunLumvane({"restore", master.path(), "3"});  // the edit undone
  EXPECT_EQ(restored.exit_code, 0) << restored.err;
  EXPECT_TRUE(restored.out.starts_with("Restored version 3 (2 pictures, replaced by edit on "))
      << restored.out;
  EXPECT_NE(restored.out.find("; the archive it replaced is kept as version 4\n"),
            std::string::npos);
  EXPECT_EQ(RecordsIn(master.path()).at(0).title, "");
  ASSERT_EQ(RunLumvane({"master", master.path(), "--quiet"}).exit_code, 0);
  EXPECT_EQ(RecordsIn(master.path()).at(0).title, "") << "the edit undone is not made again";
  EXPECT_EQ(RunLumvane({"restore", master.path(), "9"}).exit_code, 1);

  // A subfolder that cannot be read fails the run (as nobody: root reads everything).
  chmod(master.path().c_str(), 0777);
  for (const char* name : {"Trip 10", "Trip 2", ".lumvane-history"}) {
    chmod((master / name).c_str(), 0777);
  }
  chmod((master / "Trip 10").c_str(), 0);
  const Finished locked =
      RunLumvane({"master", master.path(), "--quiet"}, testing_support::AsNobody());
  chmod((master / "Trip 10").c_str(), 0755);
  EXPECT_EQ(locked.exit_code, 1);
  EXPECT_EQ(locked.err, "lumvane: Could not merge 1 archive:\n  " +
                            (master / "Trip 10/archive.htm") + ": Permission denied\n");
  chmod((master / ".lumvane-history").c_str(), 0700);  // a history nobody may read is no empty one
  const Finished hidden = RunLumvane({"history", master.path()}, testing_support::AsNobody());
  EXPECT_EQ(hidden.exit_code, 1);
  EXPECT_NE(hidden.err.find("Cannot read the history"), std::string::npos) << hidden.err;
}

TEST(CliScan, ALibraryTreeBecomesArchivesUnderMastersAndARerunRedoesWhatChanged) {
  TempDir library, dest;
  std::filesystem::create_directories(library / "2019/Italy");
  testing_support::WritePhoto(library / "2019/Italy/a.jpg");
  std::filesystem::create_directories(library / "2020");
  testing_support::WritePhoto(library / "2020/b.jpg");
  const Finished hint = RunLumvane({"scan", library.path(), dest.path()});
  EXPECT_EQ(hint.exit_code, 1);
  EXPECT_NE(hint.err.find("--recursive"), std::string::npos) << hint.err;
  EXPECT_TRUE(dest.Names().empty());

  const Finished first = RunLumvane({"scan", "--recursive", library.path(), dest.path()});
  ASSERT_EQ(first.exit_code, 0) << first.err;
  EXPECT_EQ(RecordsIn(dest.path()).size(), 2u);
  EXPECT_EQ(RecordsIn(dest / "2019").size(), 1u);
  testing_support::SetFileDate(library / "2020/b.jpg", 2002, 1, 1);
  const Finished again = RunLumvane({"scan", "-r", library.path(), dest.path()});
  EXPECT_NE(again.out.find("Library: 2 archives made, 2 archives unchanged"), std::string::npos)
      << "the changed folder and the master over it: " << again.out;
  const Finished third = RunLumvane({"scan", "-r", library.path(), dest.path()});
  EXPECT_NE(third.out.find("Library: 0 archives made, 4 archives unchanged"), std::string::npos)
      << third.out;
}

TEST(CliScan, PhotosBringTheirOwnDescriptionsUnlessAskedNotTo) {
  TempDir photos, dest, plain;
  testing_support::WritePhoto(photos / "a.jpg", 2020, 1, 2);
  ASSERT_TRUE(
      testing_support::Exiftool(photos / "a.jpg", {"-XMP-dc:Title=Harbour", "-XMP-dc:Subject=boat",
                                                   "-EXIF:DateTimeOriginal=2005:06:07 12:00:00"}));
  testing_support::SetFileDate(photos / "a.jpg", 2020, 1, 2);
  const Finished described = RunLumvane({"scan", photos.path(), dest.path(), "--copy", "no"});
  EXPECT_NE(described.out.find("1 picture brought its own description"), std::string::npos)
      << described.out;
  auto record = RecordsIn(dest.path())[0];
  EXPECT_EQ(record.title, "Harbour");
  EXPECT_EQ(record.subject, "boat");
  EXPECT_EQ(record.picdate, "June 7, 2005") << "when it was taken, not when it was copied";

  const Finished bare =
      RunLumvane({"scan", photos.path(), plain.path(), "--copy", "no", "--no-embedded"});
  EXPECT_EQ(bare.exit_code, 0) << bare.err;
  record = RecordsIn(plain.path())[0];
  EXPECT_EQ(record.title, "");
  EXPECT_EQ(record.picdate, "January 2, 2020");
  EXPECT_EQ(RunLumvane({"catalog", "x.txt", plain.path(), "--no-embedded"}).exit_code, 2);
}

TEST(CliEdit, ARerunKeepsTheEditsUnlessThePhotosOwnTextChangedSince) {
  TempDir photos, archive;
  for (int i = 1; i <= 3; ++i) {
    testing_support::WritePhoto(photos / ("IMG_" + std::to_string(i) + ".jpg"), 2001, 3, i);
  }
  const std::vector<std::string> scan = {"scan", photos.path(), archive.path(), "--copy", "no"};
  ASSERT_EQ(RunLumvane(scan).exit_code, 0);
  ASSERT_EQ(RunLumvane({"edit", archive.path(), "--set", "1", "title=Quay", "date=1999"}).exit_code,
            0);
  ASSERT_EQ(RunLumvane({"edit", archive.path(), "--delete", "3"}).exit_code, 0);
  const Finished again = RunLumvane(scan);
  EXPECT_EQ(again.exit_code, 0) << again.err;
  EXPECT_NE(again.out.find("1 picture deleted in the editor stays out (--with-deleted brings "
                           "them back).\n"),
            std::string::npos)
      << again.out;
  auto records = RecordsIn(archive.path());
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].title, "Quay");
  EXPECT_EQ(records[0].picdate, "1999");

  // The photo's own title changed since the edit: it wins, and the summary says so; the
  // edited date still holds.
  ASSERT_TRUE(testing_support::Exiftool(photos / "IMG_1.jpg", {"-XMP-dc:Title=Pier"}));
  testing_support::SetFileDate(photos / "IMG_1.jpg", 2001, 3, 1);
  const Finished changed = RunLumvane(scan);
  EXPECT_NE(changed.out.find("The editor's changes to 1 picture gave way to its own new text: "
                             "Pier (title).\n"),
            std::string::npos)
      << changed.out;
  records = RecordsIn(archive.path());
  EXPECT_EQ(records[0].title, "Pier");
  EXPECT_EQ(records[0].picdate, "1999");
  ASSERT_EQ(RunLumvane({"scan", photos.path(), archive.path(), "--with-deleted"}).exit_code, 0);
  EXPECT_EQ(RecordsIn(archive.path()).size(), 3u);
}

TEST(CliEdit, ListShowSetAndDeleteWithTheirExitCodes) {
  TempDir photos, archive;
  for (int i = 1; i <= 3; ++i) {
    testing_support::WritePhoto(photos / ("IMG_" + std::to_string(i) + ".jpg"), 2001, 3, i);
  }
  ASSERT_EQ(RunLumvane({"scan", photos.path(), archive.path(), "--copy", "no"}).exit_code, 0);
  const std::string dir = archive.path();
  const Finished list = RunLumvane({"edit", dir, "--list"});
  EXPECT_EQ(list.exit_code, 0);
  EXPECT_TRUE(list.out.starts_with("1\t\tMarch 1, 2001\t_")) << list.out;
  EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'), 3);

  const std::string hostile = "He said \"hi\" \\ </script><b>";
  const Finished set =
      RunLumvane({"edit", dir, "--set", "2", "title=" + hostile, "date=5 April 1999"});
  EXPECT_EQ(set.exit_code, 0) << set.err;
  const Finished show = RunLumvane({"edit", dir, "--show", "2"});
  EXPECT_NE(show.out.find("Title: " + hostile + "\n"), std::string::npos) << show.out;
  EXPECT_NE(show.out.find("Date: April 5, 1999\n"), std::string::npos);
  EXPECT_NE(show.out.find("Thumb File: _"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(archive / "archive_bak.htm"));

  EXPECT_EQ(RunLumvane({"edit", dir, "--set", "2", "date=soon"}).err,
            "lumvane: soon is not a valid date\n");
  EXPECT_EQ(RunLumvane({"edit", dir, "--set", "2", "colour=red"}).exit_code, 2);
  EXPECT_EQ(RunLumvane({"edit", dir, "--delete", "1e2"}).exit_code, 2) << "numbers are whole";
  EXPECT_TRUE(RunLumvane({"edit", dir, "--show", "3abc"})
                  .err.starts_with("lumvane: --show takes a record number, not '3abc'\n"));
  const Finished outside = RunLumvane({"edit", dir, "--delete", "4"});
  EXPECT_EQ(outside.exit_code, 1);
  EXPECT_EQ(outside.err, "lumvane: Invalid record number.\n");
  const Finished deleted = RunLumvane({"edit", dir, "--delete", "1"});
  EXPECT_EQ(deleted.exit_code, 0);
  EXPECT_EQ(deleted.out, "Please reload the web page.\n");
  EXPECT_EQ(RecordsIn(archive.path()).size(), 2u);
  EXPECT_EQ(RunLumvane({"edit", photos.path(), "--list"}).err,
            "lumvane: Cannot read " + (photos / "archive.htm") + ": No such file or directory\n");

  // Edits at the same moment: each is made on what the others wrote, none is lost.
  std::vector<std::unique_ptr<TempDir>> logs;
  std::vector<std::unique_ptr<Process>> edits;
  for (const char* n : {"1", "2"}) {
    for (const char* change : {"title=A", "comment=B", "author=C", "keywords=D"}) {
      logs.push_back(std::make_unique<TempDir>());
      edits.push_back(std::make_unique<Process>(
          std::vector<std::string>{"edit", dir, "--set", n, change}, *logs.back()));
    }
  }
  for (auto& edit : edits) {
    const Finished finished = edit->Wait();
    EXPECT_EQ(finished.exit_code, 0) << finished.err;
  }
  for (const auto& record : RecordsIn(dir)) {
    EXPECT_EQ(record.title + record.comment + record.author + record.subject, "ABCD");
  }
}

// A damaged catalog fails the run, keeping the pictures read before the damage.
TEST(CliCatalog, DamagedCatalogsExitOneKeepingWhatWasRead) {
  TempDir photos, dest, catalogs;
  testing_support::WritePhoto(photos / "a.jpg");
  const testing_support::Gal gal(
      {{"D:\\Old\\a.jpg", "Harbour", "Boats"}, {"D:\\Old\\a.jpg", "Again", ""}});
  photos.Write("loop.GAL", gal.Bytes(2000000000, {{1, 0}}));
  const Finished looping = RunLumvane(
      {"catalog", photos / "loop.GAL", dest.path(), "--copy", "no", "--source", photos.path()});
  EXPECT_EQ(looping.exit_code, 1);
  EXPECT_EQ(looping.err, "lumvane: " + (photos / "loop.GAL") +
                             " is damaged at byte 260; 2 pictures were read\n");
  EXPECT_EQ(RecordsIn(dest.path()).size(), 2u);

  const auto before = dest.Snapshot();
  catalogs.Write("photos.mdb", std::string(5000, 'x'));
  const Finished noise =
      RunLumvane({"catalog", catalogs / "photos.mdb", dest.path(), "--copy", "no"});
  EXPECT_EQ(noise.exit_code, 1);
  EXPECT_TRUE(noise.err.starts_with("lumvane: " + (catalogs / "photos.mdb") +
                                    " is not a database that can be read"))
      << noise.err;
  EXPECT_EQ(std::count(noise.err.begin(), noise.err.end(), '\n'), 1) << "nothing of libmdb's";
  EXPECT_EQ(dest.Snapshot(), before) << "the earlier archive stays as it was";
}

}  // namespace
