// SPDX-License-Identifier: GPL-3.0-or-later
#include "master/make_master.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "page/archive_writer.h"
#include "pictures/catalog_line.h"
#include "run/run_driver.h"
#include "tests/support/archive.h"
#include "tests/support/fake_window.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::FakeWindow;
using testing_support::ReadAll;
using testing_support::TempDir;

using testing_support::Record;

class MakeMasterTest : public testing::Test {
 protected:
  void SetUp() override {
    window.mode_value = Mode::kMaster;
    window.dest_dir_value = dest.path();
    environment = DefaultRunEnvironment();
    environment.texture = "";
  }

  // Writes an archive of `records` into the subfolder `name` of the destination.
  void WriteArchive(const std::string& name, const std::vector<PictureRecord>& records) {
    testing_support::WriteArchive(dest / name, records);
  }

  std::vector<PictureRecord> MasterRecords(const std::string& folder = "") {
    return testing_support::RecordsIn(folder.empty() ? dest.path() : dest / folder);
  }

  std::vector<std::string> Thumbs() {
    std::vector<std::string> thumbs;
    for (const auto& record : MasterRecords()) thumbs.push_back(record.thumb);
    return thumbs;
  }

  TempDir dest;
  FakeWindow window;
  RunState state;
  RunEnvironment environment;
};

// One master over every kind of subfolder: archives in file-manager order, whatever their
// folders are called, each record prefixed with its folder; an earlier version's page read in
// today's form; damaged entries and an archive another program holds named, the rest merged;
// hidden folders, folders without an archive and files left alone.
TEST_F(MakeMasterTest, MergesEverySubfolderArchiveInOrderAndNamesWhatItLeftOut) {
  const std::string odd = "Trip \"#2\" 50% a?b & <c> \\ café";
  PictureRecord original = Record("t.jpg", "x");
  original.path = "C:\\Photos";
  original.subject = "boats";
  original.details = "camera=Canon\noriginal=X.JPG";
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest / "Trip 10", false).ok());
  ASSERT_TRUE(writer.Add(original, "C:\\Photos\\X.JPG").ok());
  ASSERT_TRUE(writer.Commit(false).ok());
  WriteArchive("Trip 2", {Record("_B.jpg", "two"), Record("_C.jpg", "two b")});
  WriteArchive(odd, {Record("_K.jpg", "odd")});
  WriteArchive(".hidden", {Record("_H.jpg", "hidden")});
  WriteArchive("locked", {Record("_L.jpg", "l")});
  std::filesystem::create_directories(dest / "old");
  dest.Write("old/archive.htm",  // an earlier version's page, in Windows-1252
             "cat.add (new Pic (\"_A.jpg\", \"\",\r\n  \"C:\\\\Fotos\", \"a.jpg\",\r\n"
             "  \"Caf\xe9 \xab<b>\xbb\", \"\",\r\n  \"\", \"\",\r\n  \"\", \"May 1, 1999\"));\r\n");
  std::filesystem::create_directories(dest / "damaged");
  dest.Write("damaged/archive.htm",
             "cat.add (new Pic (\"_D.jpg\", \"\",\r\n  \"p\", \"d.jpg\",\r\n  \"\", \"\",\r\n"
             "  \"\", \"\",\r\n  \"\", \"\"));\r\n"
             "cat.add is no record\r\n1\r\n2\r\n3\r\n4\r\n"
             "cat.add (new Pic (\"_E.jpg\", \"\",\r\n  \"p\", \"e.jpg\",\r\n");
  dest.Write("c.htm", "not a folder");
  const int fd = open((dest / "locked/archive.htm").c_str(), O_RDONLY);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);  // another program holds it: in this process, a second open
  GoClick(window, state, environment);
  close(fd);

  EXPECT_EQ(Thumbs(),
            (std::vector<std::string>{"damaged/_D.jpg", "old/_A.jpg", odd + "/_K.jpg",
                                      "Trip 2/_B.jpg", "Trip 2/_C.jpg", "Trip 10/t.jpg"}));
  const auto merged = MasterRecords();
  EXPECT_EQ(merged[1].title, "Café «<b>»") << "Windows-1252 read, written as UTF-8";
  EXPECT_EQ(ReadCatalogLines(ReadAll(dest / "archive.htm"))[1][4], "Café «\\x3Cb>»");
  EXPECT_EQ(merged[5].file, "Trip 10/");
  EXPECT_EQ(merged[5].path, "C:\\Photos") << "path and source keep the original's place";
  EXPECT_EQ(merged[5].details, original.details);
  EXPECT_NE(ReadAll(dest / "archive.txt")
                .find("\r\nC:\\Photos\\X.JPG\tx\tboats\t\t\t\t\tTrip 10/t.jpg\r\n"),
            std::string::npos)
      << "the source as the subfolder's archive.txt names it, letter case and all";
  ASSERT_EQ(state.passed_over.size(), 2u) << "a line that is no record, and one cut short";
  EXPECT_EQ(state.passed_over[0].source, dest / "damaged/archive.htm");
  EXPECT_EQ(state.passed_over[0].reason, "damaged entry");
  EXPECT_EQ(window.messages,
            std::vector<std::string>{"Could not merge 1 archive:\r  " +
                                     (dest / "locked/archive.htm") + ": open by another program"});
  EXPECT_EQ(state.archives_merged, 5);
  EXPECT_EQ(window.statuses.back(), " 6 Done!") << "every archive looked at counts";
  EXPECT_EQ(ReadAll(dest / "c.htm"), "not a folder");
}

TEST_F(MakeMasterTest, NoArchiveBelowWritesNothingAndSaysSo) {
  std::filesystem::create_directory(dest / "empty");
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages,
            std::vector<std::string>{"No archives were found in the subfolders of " + dest.path()});
  EXPECT_EQ(dest.Names(), std::vector<std::string>{"empty"});
}

TEST_F(MakeMasterTest, AnArchiveOfPicturesIsReplacedOnlyWhenTheUserAgreesAndIsKept) {
  WriteArchive("trip", {Record("_T.jpg", "t")});
  ArchiveWriter pictures;  // the folder's own archive, of its own pictures
  ASSERT_TRUE(pictures.Open(dest.path(), false).ok());
  ASSERT_TRUE(pictures.Add(Record("_P.jpg", "p"), "p.jpg").ok());
  ASSERT_TRUE(pictures.Commit(false).ok());
  const std::string page = ReadAll(dest / "archive.htm");
  const auto before = dest.Snapshot();
  GoClick(window, state, environment);
  EXPECT_EQ(window.messages, std::vector<std::string>{"replace " + (dest / "archive.htm") + "?"});
  EXPECT_EQ(dest.Snapshot(), before) << "No: nothing written";
  window.replace_answer = true;
  GoClick(window, state, environment);
  EXPECT_EQ(Thumbs(), std::vector<std::string>{"trip/_T.jpg"});
  EXPECT_EQ(ReadAll(dest / ".lumvane-history/1/archive.htm"), page);
  EXPECT_EQ(state.kept_version, 1);
  window.messages.clear();
  GoClick(window, state, environment);
  EXPECT_TRUE(window.messages.empty()) << "a master is replaced without a question";
}

TEST_F(MakeMasterTest, StopWhileTheSecondOfThreeIsMergedKeepsTwo) {
  WriteArchive("a", {Record("_A.jpg", "a")});
  WriteArchive("b", {Record("_B.jpg", "b")});
  WriteArchive("c", {Record("_C.jpg", "c")});
  window.StopAfter(2);
  GoClick(window, state, environment);
  EXPECT_EQ(Thumbs(), (std::vector<std::string>{"a/_A.jpg", "b/_B.jpg"}));
  EXPECT_TRUE(ReadAll(dest / "archive.htm").ends_with("</html>\r\n"));
}

TEST_F(MakeMasterTest, RunningTwiceReplacesTheMasterAndAMasterOfMastersNestsPrefixes) {
  WriteArchive("2001/spring", {Record("_S.jpg", "spring")});
  WriteArchive("2001/summer", {Record("_U.jpg", "summer")});
  window.dest_dir_value = dest / "2001";
  GoClick(window, state, environment);
  GoClick(window, state, environment);
  EXPECT_EQ(MasterRecords("2001").size(), 2u) << "the second run replaced the first";
  window.dest_dir_value = dest.path();
  GoClick(window, state, environment);
  EXPECT_EQ(Thumbs(), (std::vector<std::string>{"2001/spring/_S.jpg", "2001/summer/_U.jpg"}));
  EXPECT_EQ(MasterRecords()[0].file, "2001/spring/");
}

TEST_F(MakeMasterTest, AMasterStaysInsideItsFolderAndNeverMergesItself) {
  PictureRecord outside_file = Record("_F.jpg", "f");
  outside_file.file = "..\\..\\x.jpg";
  WriteArchive("m/evil", {Record("../../../etc/passwd", "up"), Record("/etc/passwd", "root"),
                          outside_file, Record("_G.jpg", "good")});
  WriteArchive("", {Record("_A.jpg", "above")});  // the folder above the master's
  std::filesystem::create_directory_symlink(dest / "m", dest / "m/selfloop");
  std::filesystem::create_directory_symlink(dest.path(), dest / "m/up");
  std::filesystem::create_directory_symlink(dest / "m/evil", dest / "m/twin");
  window.dest_dir_value = dest / "m";
  for (int run = 0; run < 2; ++run) {
    GoClick(window, state, environment);
    ASSERT_EQ(MasterRecords("m").size(), 1u) << "run " << run;
    EXPECT_EQ(MasterRecords("m")[0].thumb, "evil/_G.jpg");
  }
  std::vector<std::string> passed_over;
  for (const auto& picture : state.passed_over) passed_over.push_back(picture.reason);
  EXPECT_EQ(passed_over,
            (std::vector<std::string>{"the master's own folder", "the same folder as evil",
                                      "a folder above the master's",
                                      "an entry naming a file outside its archive",
                                      "an entry naming a file outside its archive",
                                      "an entry naming a file outside its archive"}));
}

}  // namespace
}  // namespace lumvane
