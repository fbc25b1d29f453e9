// SPDX-License-Identifier: GPL-3.0-or-later
#include "page/archive_writer.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "page/archive_history.h"
#include "pictures/catalog_line.h"
#include "platform/destination_lock.h"
#include "tests/support/archive.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::ReadAll;
using testing_support::TempDir;

PictureRecord Record(const std::string& title) {
  PictureRecord record;
  record.thumb = "_K7Q2M40.jpg";
  record.title = title;
  return record;
}

class ArchiveWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    dest.Write("archive.htm", "earlier page");
    dest.Write("archive.txt", "earlier catalog");
    earlier = dest.Snapshot();
  }
  TempDir dest;
  std::map<std::string, std::string> earlier;
};

TEST_F(ArchiveWriterTest, CommitPutsBothFilesInPlaceAndReleasesTheFolder) {
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest.path(), false).ok());
  writer.StartCatalog();
  ASSERT_TRUE(writer.Add(Record("Harbour"), "/photos/a.jpg").ok());
  EXPECT_EQ(dest.Snapshot().at("archive.htm"), "earlier page") << "nothing replaced before commit";
  ASSERT_TRUE(writer.Commit(false).ok());
  EXPECT_EQ(testing_support::RecordsIn(dest.path()).size(), 1u);
  EXPECT_EQ(ReadAll(dest / "archive.txt"),
            TabCatalogHeader() + "\r\n/photos/a.jpg\tHarbour\t\t\t\t\t\t" + "_K7Q2M40.jpg\r\n");
  EXPECT_EQ(dest.Names(), (std::vector<std::string>{"archive.htm", "archive.txt"}))
      << "no lock file or temporary is left";
}

TEST_F(ArchiveWriterTest, AbandonLeavesTheFolderExactlyAsItWas) {
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest.path(), false).ok());
  ASSERT_TRUE(writer.Add(Record("Harbour"), "/photos/a.jpg").ok());
  dest.Write("_K7Q2M40.jpg", "an image of this run");
  writer.NoteCreated(dest / "_K7Q2M40.jpg");
  writer.Abandon();
  EXPECT_EQ(dest.Snapshot(), earlier);

  TempDir parent;
  ArchiveWriter nested;
  ASSERT_TRUE(nested.Open(parent / "new/archive", false).ok());
  nested.Abandon();
  EXPECT_TRUE(parent.Names().empty()) << "folders it created are removed again";
}

TEST_F(ArchiveWriterTest, RunReadingItsOwnCatalogKeepsItWhenStopped) {
  dest.Write("archive2.txt", "left by an earlier stopped run");
  ArchiveWriter stopped;
  ASSERT_TRUE(stopped.Open(dest.path(), true).ok());
  ASSERT_TRUE(stopped.Add(Record("One"), "a.jpg").ok());
  ASSERT_TRUE(stopped.Commit(true).ok());
  EXPECT_EQ(ReadAll(dest / "archive.txt"), "earlier catalog");
  EXPECT_NE(ReadAll(dest / "archive2.txt").find("One"), std::string::npos);

  ArchiveWriter completed;
  ASSERT_TRUE(completed.Open(dest.path(), true).ok());
  ASSERT_TRUE(completed.Add(Record("Two"), "a.jpg").ok());
  ASSERT_TRUE(completed.Commit(false).ok());
  EXPECT_NE(ReadAll(dest / "archive.txt").find("Two"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dest / "archive2.txt"));
}

TEST_F(ArchiveWriterTest, AnArchiveNameThatIsNoFileIsNeitherReadNorReplaced) {
  std::filesystem::remove(dest / "archive.htm");
  ASSERT_EQ(mkfifo((dest / "archive.htm").c_str(), 0644), 0);
  ArchiveWriter writer;
  EXPECT_EQ(writer.Open(dest.path(), false).message(),
            (dest / "archive.htm") + " is a FIFO, not an archive's file; it was left as it is. " +
                "Move it away to make an archive in " + dest.path() + ".");
  std::filesystem::remove(dest / "archive.htm");
  std::filesystem::create_symlink("/dev/zero", dest / "archive.htm");
  EXPECT_FALSE(writer.Open(dest.path(), false).ok()) << "a link to a device";
  EXPECT_EQ(SurveyArchive(dest.path()).records, 0) << "and it is never read";
}

TEST(SurveyArchive, CountsRowsAndEarlierStatementsAndTellsAMasterFromAnArchive) {
  struct Case {
    const char* page;
    int records;
    bool own_pictures;
  } cases[] = {
      {"<script type=\"text/x-lumvane-rows\" id=\"records\">\r\n"
       "a/_K7Q2M40.jpg\ta/\r\n\"\t\"\r\nb/_K7Q2M50.jpg\r\n</script>\r\n_K7Q2M60.jpg\r\n",
       3, false},
      {"<script type=\"text/x-lumvane-rows\" id=\"records\">\na/_K7Q2M40.jpg\n_K7Q2M50.jpg\n", 2,
       true},
      {"cat.add (new Pic (\"a/_K7Q2M40.jpg\", \"a/\",\r\ncat.add (new Pic (\"_K7Q2M40.jpg\"\r\n", 2,
       true},
      {"cat.add (new Pic (\"a/_K7Q2M40.jpg\", \"a/\",\r\n", 1, false},
  };
  for (const Case& c : cases) {
    TempDir dest;
    dest.Write("archive.htm", c.page);
    const ArchiveSurvey survey = SurveyArchive(dest.path());
    EXPECT_EQ(survey.records, c.records) << c.page;
    EXPECT_EQ(survey.own_pictures, c.own_pictures) << c.page;
  }
}

// Writes an archive of `count` pictures titled `title`, keeping the one it replaces.
Status WriteArchive(const TempDir& dest, int count, ArchiveWriter& writer,
                    const std::string& title = "Picture") {
  if (Status status = writer.Open(dest.path(), false); !status.ok()) return status;
  writer.KeepEarlierAs("scan");
  for (int i = 0; i < count; ++i) {
    if (Status status = writer.Add(Record(title), "a.jpg"); !status.ok()) return status;
  }
  return writer.Commit(false);
}

TEST_F(ArchiveWriterTest, EachReplacedArchiveIsKeptAsAVersionWhileTheNewestTenFit) {
  ArchiveWriter first, same;
  ASSERT_TRUE(WriteArchive(dest, 3, first).ok());
  EXPECT_EQ(first.kept().number, 1);
  EXPECT_EQ(ReadAll(first.kept().folder + "/archive.htm"), "earlier page");
  EXPECT_EQ(ReadAll(first.kept().folder + "/archive.txt"), "earlier catalog");
  const std::string page = ReadAll(dest / "archive.htm");
  ASSERT_TRUE(WriteArchive(dest, 3, same).ok());
  EXPECT_EQ(same.kept().number, 0) << "an archive that did not change is not kept again";
  Generation again;  // a writer killed after keeping the archive, then run once more
  ASSERT_TRUE(KeepGeneration(dest.path(), "scan", 3, &again).ok());
  ASSERT_TRUE(KeepGeneration(dest.path(), "scan", 3, &again).ok());
  EXPECT_EQ(again.number, 2) << "the version kept already, not a third copy";
  ForgetGeneration(again);  // as the second writer's failed commit would
  ASSERT_EQ(ListGenerations(dest.path()).size(), 2u) << "a found version is not forgotten";
  for (int run = 0; run < 10; ++run) {
    ArchiveWriter writer;
    ASSERT_TRUE(WriteArchive(dest, 2, writer, "Run " + std::to_string(run)).ok());
    EXPECT_EQ(writer.earlier_records(), run == 0 ? 3 : 2);
    EXPECT_EQ(writer.dropped().size(), run == 9 ? 1u : 0u);
  }
  const std::vector<Generation> kept = ListGenerations(dest.path());
  ASSERT_EQ(kept.size(), kMostGenerations);
  EXPECT_EQ(kept.front().number, 11);
  EXPECT_EQ(kept.front().by, "scan");
  EXPECT_EQ(kept.back().number, 2) << "the oldest went";
  EXPECT_EQ(kept.back().pictures, 3);
  EXPECT_EQ(ReadAll(kept.back().folder + "/archive.htm"), page);
}

TEST_F(ArchiveWriterTest, FilesTakeTheUsersUmaskAndReplacedOnesKeepTheirPermissions) {
  std::filesystem::remove(dest / "archive.htm");
  chmod((dest / "archive.txt").c_str(), 0444);
  const mode_t earlier_umask = umask(077);
  ArchiveWriter writer;
  const Status status = WriteArchive(dest, 0, writer);
  umask(earlier_umask);
  ASSERT_TRUE(status.ok());
  const auto permissions = [this](const char* name) {
    return std::filesystem::status(dest / name).permissions();
  };
  EXPECT_EQ(permissions("archive.htm"), std::filesystem::perms(0600)) << "a new file";
  EXPECT_EQ(permissions("archive.txt"), std::filesystem::perms(0444)) << "read-only stays so";
}

TEST_F(ArchiveWriterTest, OpenRemovesTheTemporariesOfKilledRuns) {
  dest.Write(".lumvane-tmp-archive.txt-k1LL3d", "left by a killed run");
  dest.Write("archive.htm.tmp-backup", "the user's");
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest.path(), false).ok());
  writer.Abandon();
  EXPECT_EQ(dest.Names(),
            (std::vector<std::string>{"archive.htm", "archive.htm.tmp-backup", "archive.txt"}));
}

TEST(ArchiveWriterOnAFullDisk, AddFailsAndAbandoningKeepsTheEarlierArchive) {
  TempDir dest;
  testing_support::SmallDisk disk(dest.path(), 64 * 1024);
  dest.Write("archive.htm", "earlier page");
  dest.Write("archive.txt", "earlier catalog");
  const auto earlier = dest.Snapshot();
  ArchiveWriter writer;
  ASSERT_TRUE(writer.Open(dest.path(), false).ok());
  Status status;
  const PictureRecord record = Record(std::string(2000, 'w'));
  for (int i = 0; i < 1000 && status.ok(); ++i) status = writer.Add(record, "a.jpg");
  ASSERT_FALSE(status.ok()) << "the disk never filled";
  EXPECT_EQ(status.message(), "Cannot write into " + dest.path() + ": " + disk.full_reason());
  writer.Abandon();
  EXPECT_EQ(dest.Snapshot(), earlier);
}

}  // namespace
}  // namespace lumvane
