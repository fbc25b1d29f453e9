// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/archive_editor.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include <gtest/gtest.h>

#include "page/archive_writer.h"
#include "pictures/catalog_line.h"
#include "platform/destination_lock.h"
#include "tests/support/archive.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

// An archive of `count` records titled "Picture 1", "Picture 2", ...
void WriteArchive(const TempDir& dir, int count) {
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dir.path(), false).ok());
  writer.StartCatalog();
  for (int i = 1; i <= count; ++i) {
    PictureRecord record;
    record.thumb = "_K7Q2M" + std::to_string(i % 10) + "0.jpg";
    record.path = "C:\\Photos";
    record.source = "p" + std::to_string(i) + ".jpg";
    record.title = "Picture " + std::to_string(i);
    record.picdate = "May 1, 2000";
    record.details = "camera=Canon\niso=" + std::to_string(i);
    ASSERT_TRUE(writer.Add(record, "C:\\Photos\\P" + std::to_string(i) + ".JPG").ok());
  }
  ASSERT_TRUE(writer.Commit(false).ok());
}

std::vector<std::string> Titles(const TempDir& dir) {
  std::vector<std::string> titles;
  for (const auto& record : testing_support::RecordsIn(dir.path())) titles.push_back(record.title);
  return titles;
}

TEST(RecordNumbers, LeadingNumberRoundedHalfToEvenAndSteps) {
  EXPECT_EQ(RecordNumberOf("2.5"), 2);
  EXPECT_EQ(RecordNumberOf("3.5"), 4);
  EXPECT_EQ(RecordNumberOf("7abc"), 7);
  EXPECT_EQ(RecordNumberOf("  12"), 12);
  EXPECT_EQ(RecordNumberOf("abc"), 0);
  EXPECT_EQ(RecordNumberOf(""), 0);
  EXPECT_EQ(RecordNumberOf("-3"), -3);
  EXPECT_EQ(SteppedRecordNumber("1", 1), " 2");
  EXPECT_EQ(SteppedRecordNumber("1", -1), " 0");
  EXPECT_EQ(SteppedRecordNumber("", -1), "-1");
  EXPECT_EQ(SteppedRecordNumber("", 1), " 1");
}

class ArchiveEditorTest : public testing::Test {
 protected:
  void SetUp() override {
    WriteArchive(dir, 5);
    ASSERT_TRUE(editor.Load(dir.path()).ok());
  }
  EditorFields Typed(long n, const std::string& title, const std::string& date) {
    EditorFields fields = editor.Fields(n);
    fields.title = title;
    fields.date = date;
    return fields;
  }
  TempDir dir;
  ArchiveEditor editor;
};

TEST_F(ArchiveEditorTest, LoadsEveryRecordAndShowsPlainText) {
  EXPECT_EQ(editor.count(), 5);
  EXPECT_EQ(editor.Fields(3).title, "Picture 3");
  EXPECT_EQ(editor.Fields(3).path, "C:\\Photos") << "shown decoded";
  EXPECT_EQ(editor.Fields(6).title, "") << "beyond the last: empty boxes";
  ArchiveEditor missing;
  EXPECT_EQ(missing.Load(dir / "gone").message(),
            "Cannot read " + (dir / "gone/archive.htm") + ": No such file or directory");
}

TEST_F(ArchiveEditorTest, UpdateStoresTypedTextSafelyAndNeverTheInformationBoxes) {
  EditorFields typed = Typed(2, "He said \"hi\" <b> \\ </script>\nline two", "1999-04-05");
  typed.category = "Travel";
  typed.comment = "at dawn";
  typed.path = "typed path";
  typed.thumb = "typed.jpg";
  std::string stored;
  ASSERT_TRUE(editor.Update(2, typed, &stored).ok());
  EXPECT_EQ(stored, "April 5, 1999");
  ArchiveEditor reread;
  ASSERT_TRUE(reread.Load(dir.path()).ok());
  EXPECT_EQ(reread.Fields(2).title, typed.title) << "a round trip through the page";
  EXPECT_EQ(reread.Fields(2).date, "April 5, 1999");
  EXPECT_EQ(reread.Fields(2).category, "Travel");
  EXPECT_EQ(reread.Fields(2).comment, "at dawn");
  EXPECT_EQ(reread.Fields(2).path, "C:\\Photos");
  EXPECT_EQ(reread.Fields(2).thumb, "_K7Q2M20.jpg");
}

TEST_F(ArchiveEditorTest, AnEditChangesOnlyItsOwnRecord) {
  const std::string catalog = ReadAll(dir / "archive.txt");
  ASSERT_TRUE(editor.Update(2, Typed(2, "x", "1999")).ok());
  std::string expected = catalog;
  expected.replace(expected.find("Picture 2"), 9, "x");
  expected.replace(expected.find("May 1, 2000", expected.find("\tx\t")), 11, "1999");
  EXPECT_EQ(ReadAll(dir / "archive.txt"), expected)
      << "every other row as the run wrote it, sources in their letter case";
  EXPECT_EQ(testing_support::RecordsIn(dir.path())[1].details, "camera=Canon\niso=2")
      << "the camera's details are kept through an edit";
}

TEST_F(ArchiveEditorTest, ArchiveChangedOnDiskIsNeverWrittenOver) {
  ArchiveEditor other;
  ASSERT_TRUE(other.Load(dir.path()).ok());
  ASSERT_TRUE(other.Update(1, Typed(1, "newer", "1999")).ok());
  const auto newer = dir.Snapshot();
  const Status refused = editor.Update(2, Typed(2, "older", "1999"));
  EXPECT_EQ(refused.message(), (dir / "archive.htm") +
                                   " has changed since it was opened (another run or edit wrote "
                                   "it); nothing was written.");
  EXPECT_EQ(refused.code(), StatusCode::kChanged);
  EXPECT_EQ(dir.Snapshot(), newer);
  EXPECT_EQ(editor.Fields(2).title, "Picture 2");
  ASSERT_TRUE(editor.Load(dir.path()).ok());
  ASSERT_TRUE(editor.Update(2, Typed(2, "older", "1999")).ok());
  EXPECT_EQ(Titles(dir)[0], "newer") << "both changes are kept";

  DestinationLock run;  // a run writing into the folder: its half-written state is not read
  ASSERT_TRUE(run.Acquire(dir.path()).ok());
  EXPECT_EQ(editor.Load(dir.path()).message(), dir.path() + " is being written by another run");
}

TEST_F(ArchiveEditorTest, NoRecordAndNoArchiveAreRefusedWithoutWriting) {
  const auto before = dir.Snapshot();
  EXPECT_EQ(editor.Update(6, Typed(6, "x", "1999")).message(), "There is no record 6");
  EXPECT_EQ(editor.Update(0, Typed(1, "x", "1999")).message(), "There is no record 0");
  EXPECT_EQ(dir.Snapshot(), before);
  dir.Write("archive.htm", "<html><body>my homepage</body></html>");
  EXPECT_EQ(editor.Load(dir.path()).message(),
            (dir / "archive.htm") + " is not an archive made by this program");
  std::filesystem::resize_file(dir / "archive.htm", 3LL << 30);  // sparse: no disk taken
  EXPECT_EQ(editor.Load(dir.path()).message(),
            "Cannot read " + (dir / "archive.htm") +
                ": too large to read (3072 MB; an archive has at most 1024 MB)");
}

TEST(ArchiveEditorLoad, RecordsNamingFilesOutsideTheArchiveAreLeftOut) {
  TempDir dir;
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dir.path(), false).ok());
  PictureRecord record;
  for (const char* thumb : {"_K7Q2M40.jpg", "../../etc/passwd", "/etc/passwd"}) {
    record.thumb = thumb;
    ASSERT_TRUE(writer.Add(record, "a.jpg").ok());
  }
  ASSERT_TRUE(writer.Commit(false).ok());
  ArchiveEditor editor;
  ASSERT_TRUE(editor.Load(dir.path()).ok());
  EXPECT_EQ(editor.count(), 1);
  EXPECT_EQ(editor.left_out(), 2);
}

#if !defined(__SANITIZE_ADDRESS__)  // a sanitizer's memory is past any such limit by itself
TEST(ArchiveEditorLoad, APageLargerThanTheMemoryThereIsIsRefusedWithAMessage) {
  TempDir dir;
  dir.Write("archive.htm", "var cat = new Catalog();\r\n");
  std::filesystem::resize_file(dir / "archive.htm", 900LL << 20);  // sparse: no disk taken
  const pid_t child = fork();
  if (child == 0) {
    const rlimit memory{rlim_t{256} << 20, rlim_t{256} << 20};
    setrlimit(RLIMIT_AS, &memory);
    ArchiveEditor editor;
    const Status loaded = editor.Load(dir.path());
    _exit(loaded.message().find("the memory there is") != std::string::npos ? 0 : 1);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a message, not an abort";
}
#endif

TEST(ArchiveEditorLoad, APageWithItsRecordsInsideItsScriptIsReadAndWrittenInTodaysForm) {
  TempDir dir;
  dir.Write("archive.htm",
            "<script>\r\nvar cat = new Catalog();\r\n"
            "cat.add (new Pic (\"_K7Q2M40.jpg\", \"\",\r\n  \"C:\\\\Fotos\", \"a.jpg\",\r\n"
            "  \"Old\", \"\",\r\n  \"\", \"\",\r\n  \"\", \"May 1, 1999\"));\r\n</script>\r\n");
  ArchiveEditor editor;
  ASSERT_TRUE(editor.Load(dir.path()).ok());
  ASSERT_EQ(editor.count(), 1);
  EXPECT_EQ(editor.Fields(1).path, "C:\\Fotos");
  EditorFields typed = editor.Fields(1);
  typed.title = "New";
  ASSERT_TRUE(editor.Update(1, typed).ok());
  const std::string page = ReadAll(dir / "archive.htm");
  EXPECT_NE(page.find("id=\"records\""), std::string::npos) << "today's records block";
  EXPECT_EQ(Titles(dir), std::vector<std::string>{"New"});
}

TEST(ArchiveEditorDates, AnUnchangedDateIsKeptWhateverItHolds) {
  TempDir dir;
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dir.path(), false).ok());
  PictureRecord record;
  record.thumb = "_K7Q2M40.jpg";
  record.picdate = "February 30, 2001";  // as a camera's EXIF said
  ASSERT_TRUE(writer.Add(record, "a.jpg").ok());
  ASSERT_TRUE(writer.Commit(false).ok());
  ArchiveEditor editor;
  ASSERT_TRUE(editor.Load(dir.path()).ok());
  EditorFields typed = editor.Fields(1);
  typed.title = "x";
  ASSERT_TRUE(editor.Update(1, typed).ok());
  EXPECT_EQ(editor.Fields(1).date, "February 30, 2001");
  typed.date = "February 31, 2001";
  EXPECT_EQ(editor.Update(1, typed).message(), "February 31, 2001 is not a valid date");
}

TEST_F(ArchiveEditorTest, RefusedDateStoresAndWritesNothing) {
  const std::string page = ReadAll(dir / "archive.htm");
  for (const char* date : {"", "soon", "0999", "2201"}) {
    EXPECT_EQ(editor.Update(1, Typed(1, "changed", date)).message(),
              std::string(date) + " is not a valid date");
  }
  EXPECT_EQ(ReadAll(dir / "archive.htm"), page);
  EXPECT_FALSE(std::filesystem::exists(dir / "archive_bak.htm"));
  EXPECT_EQ(editor.Fields(1).title, "Picture 1");
}

TEST_F(ArchiveEditorTest, BackupOncePerOpeningReplacedAtTheNext) {
  const std::string original = ReadAll(dir / "archive.htm");
  ASSERT_TRUE(editor.Update(1, Typed(1, "first", "1999")).ok());
  EXPECT_EQ(ReadAll(dir / "archive_bak.htm"), original);
  const std::string after_first = ReadAll(dir / "archive.htm");
  ASSERT_TRUE(editor.Update(1, Typed(1, "second", "1999")).ok());
  EXPECT_EQ(ReadAll(dir / "archive_bak.htm"), original) << "not again in the same opening";
  ArchiveEditor reopened;
  ASSERT_TRUE(reopened.Load(dir.path()).ok());
  const std::string before_third = ReadAll(dir / "archive.htm");
  ASSERT_TRUE(reopened.Update(1, Typed(1, "third", "1999")).ok());
  EXPECT_EQ(ReadAll(dir / "archive_bak.htm"), before_third);
  EXPECT_NE(before_third, after_first);
}

TEST_F(ArchiveEditorTest, DeleteClosesTheGapAndRefusesNumbersThatNameNoRecord) {
  ASSERT_TRUE(editor.Delete(3).ok());
  EXPECT_EQ(Titles(dir),
            (std::vector<std::string>{"Picture 1", "Picture 2", "Picture 4", "Picture 5"}));
  EXPECT_EQ(editor.Fields(3).title, "Picture 4");
  EXPECT_NE(ReadAll(dir / "archive.txt").find("C:\\Photos\\P5.JPG\tPicture 5"), std::string::npos)
      << "each catalog row keeps its own original";
  ASSERT_TRUE(editor.Delete(4).ok());
  EXPECT_EQ(editor.Fields(4).title, "") << "the last deleted: empty boxes";
  for (long n : {0L, -1L, 4L}) EXPECT_EQ(editor.Delete(n).message(), "Invalid record number.");
  EXPECT_EQ(Titles(dir).size(), 3u);
}

TEST_F(ArchiveEditorTest, FailedWriteLeavesAllThreeFilesAndTheTable) {
  // A folder where the backup goes: its rename fails after the page and catalog were written
  // beside their names, and everything comes back.
  std::filesystem::create_directories(dir / "archive_bak.htm/in the way");
  const auto before = dir.Snapshot();
  const Status failed = editor.Update(2, Typed(2, "lost?", "1999"));
  EXPECT_FALSE(failed.ok());
  EXPECT_TRUE(failed.message().starts_with("Cannot write into " + dir.path() + ": "))
      << failed.message();
  EXPECT_FALSE(editor.Delete(2).ok());
  EXPECT_EQ(dir.Snapshot(), before);
  EXPECT_EQ(editor.Fields(2).title, "Picture 2") << "the table stays what the files hold";
  EXPECT_EQ(editor.count(), 5);
}

TEST(ArchiveEditorLimits, TwelveThousandRecordsAreAllKept) {
  TempDir dir;
  WriteArchive(dir, 12000);
  ArchiveEditor editor;
  ASSERT_TRUE(editor.Load(dir.path()).ok());
  EXPECT_EQ(editor.count(), 12000);
  EXPECT_EQ(editor.Fields(11000).title, "Picture 11000");
  EditorFields typed = editor.Fields(11000);
  typed.title = "changed";
  ASSERT_TRUE(editor.Update(11000, typed).ok());
  EXPECT_EQ(Titles(dir).size(), 12000u) << "no record lost past any limit";
}

}  // namespace
}  // namespace lumvane
