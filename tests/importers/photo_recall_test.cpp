// SPDX-License-Identifier: GPL-3.0-or-later
// The PhotoRecall catalog, from Jet 3 and Jet 4 databases written here.
#include "importers/photo_recall.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "importers/jet_table.h"
#include "tests/support/jet_database.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_run.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::JetDatabase;
using testing_support::RecordingRun;
using testing_support::TempDir;
using Type = JetDatabase::Type;
using Row = JetDatabase::Row;

JetDatabase::Table PicInfo(std::vector<Row> rows, const std::string& name = "GA_PicInfo") {
  return testing_support::PicInfoTable(std::move(rows), name);
}
Row Picture(const std::string& source, const std::string& title = "t",
            std::optional<std::string> date = "36526") {
  return {"1", source, title, "k", "c", "d", "a", date};
}

class PhotoRecall : public testing::TestWithParam<int> {
 protected:
  Status Read(const JetDatabase& db) { return ReadBytes(db.Bytes()); }
  Status ReadBytes(const std::string& bytes) {
    dir.Write("photos.mdb", bytes);
    EXPECT_TRUE(run.OpenCatalog(dir / "photos.mdb"));
    return ReadPhotoRecall(run);
  }
  JetDatabase Database() const { return JetDatabase(GetParam()); }
  TempDir dir;
  RecordingRun run;
};

TEST_P(PhotoRecall, TheWriterIsReadBackByMdbExport) {
  JetDatabase db = Database();
  db.Add(PicInfo({Picture("C:\\a.jpg", "Harbour"), Picture("C:\\b.jpg", "", std::nullopt)}));
  dir.Write("photos.mdb", db.Bytes());
  FILE* out = popen(("mdb-export " + (dir / "photos.mdb") + " GA_PicInfo").c_str(), "r");
  ASSERT_NE(out, nullptr);
  std::string csv(4096, '\0');
  csv.resize(std::fread(csv.data(), 1, csv.size(), out));
  EXPECT_EQ(pclose(out), 0);
  EXPECT_EQ(csv,
            "ID,Source,Name,DATA1,DATA2,Description,MEMO1,DateCreated\n"
            "1,\"C:\\a.jpg\",\"Harbour\",\"k\",\"c\",\"d\",\"a\",\"01/01/00 00:00:00\"\n"
            "1,\"C:\\b.jpg\",,\"k\",\"c\",\"d\",\"a\",\n");
}

TEST_P(PhotoRecall, RowsNullsAndDates) {
  TempDir photos;
  testing_support::WritePhoto(photos / "dated.jpg", 1998, 6, 1);
  JetDatabase db = Database();
  db.Add({"Other", {{"X", Type::kText}}, {{"x"}}});
  db.Add(PicInfo({Picture("C:\\first.jpg", "First"),
                  {"2", std::nullopt, "skipped", "k", "c", "d", "a", "36526"},
                  {"3", photos / "dated.jpg", std::nullopt, std::nullopt, std::nullopt,
                   std::nullopt, std::nullopt, std::nullopt},
                  {"4", photos / "missing.jpg", "", "", "", "", "", std::nullopt},
                  Picture("", "empty source", "36526.75")}));
  ASSERT_TRUE(Read(db).ok());
  ASSERT_EQ(run.pictures.size(), 4u) << "the NULL source is skipped, the empty one is not";
  const PictureInput& first = run.pictures[0];
  EXPECT_EQ(first.source, "C:\\first.jpg");
  EXPECT_EQ(first.title + "|" + first.subject + "|" + first.category + "|" + first.comment + "|" +
                first.author,
            "First|k|c|d|a");
  EXPECT_EQ(first.picdate, "January 1, 2000");
  EXPECT_EQ(run.pictures[1].title + run.pictures[1].author, "");
  EXPECT_EQ(run.pictures[1].picdate, "June 1, 1998") << "a NULL date: the file's";
  EXPECT_EQ(run.pictures[2].picdate, "") << "no file there";
  EXPECT_EQ(run.pictures[3].source, "");
  EXPECT_EQ(run.pictures[3].picdate, "January 1, 2000") << "the time of day left out";
  EXPECT_EQ(run.expected, 5);
}

TEST_P(PhotoRecall, TextsAndLongMemos) {
  const bool jet4 = GetParam() == 4;
  const std::string memo(6000, 'm'), long_title(240, 't');  // a Jet 3 row of over 256 bytes
  JetDatabase db = Database();
  db.Add(PicInfo({{"1", jet4 ? "C:\\\xCE\xB1\xCE\xB2.jpg" : "C:\\caf\xE9.jpg",
                   (jet4 ? "\xE6\x97\xA5\xE6\x9C\xAC" : "na\xEFve \x80") + long_title, "k", "c",
                   memo, std::string(700, 'a'), "36526"}}));
  ASSERT_TRUE(Read(db).ok());
  ASSERT_EQ(run.pictures.size(), 1u);
  EXPECT_EQ(run.pictures[0].source, jet4 ? "C:\\\xCE\xB1\xCE\xB2.jpg" : "C:\\caf\xC3\xA9.jpg");
  EXPECT_EQ(run.pictures[0].title,
            (jet4 ? "\xE6\x97\xA5\xE6\x9C\xAC" : "na\xC3\xAFve \xE2\x82\xAC") + long_title);
  EXPECT_EQ(run.pictures[0].comment, memo) << "a memo over several long-value pages, whole";
  EXPECT_EQ(run.pictures[0].author, std::string(700, 'a'));
}

TEST_P(PhotoRecall, TablesThatAreNotThePictureTable) {
  JetDatabase none = Database();
  none.Add({"Other", {{"X", Type::kText}}, {{"x"}}});
  const std::string no_table = (dir / "photos.mdb") + " has no pictures table (GA_PicInfo)";
  EXPECT_EQ(Read(none).message(), no_table);
  JetDatabase lower = Database();
  lower.Add(PicInfo({Picture("C:\\a.jpg")}, "ga_picinfo"));
  EXPECT_EQ(Read(lower).message(), no_table) << "the name compared with its letter case";
  JetDatabase empty = Database();
  empty.Add(PicInfo({}));
  EXPECT_TRUE(Read(empty).ok());
  EXPECT_TRUE(run.pictures.empty());

  JetDatabase lacking = Database();
  JetDatabase::Table table = PicInfo({Picture("C:\\a.jpg")});
  table.columns.erase(table.columns.begin() + 4);  // DATA2
  for (Row& row : table.rows) row.erase(row.begin() + 4);
  lacking.Add(table);
  EXPECT_EQ(Read(lacking).message(),
            (dir / "photos.mdb") + ": the table GA_PicInfo has no column \"DATA2\"");
}

TEST_P(PhotoRecall, FilesThatAreNoDatabases) {
  std::string noise(8192, '\0');
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = static_cast<char>((i * 7919) >> 3);
  const std::string not_readable = (dir / "photos.mdb") + " is not a database that can be read";
  EXPECT_TRUE(ReadBytes(noise).message().starts_with(not_readable)) << ReadBytes(noise).message();
  EXPECT_TRUE(ReadBytes("").message().starts_with(not_readable));

  JetDatabase db = Database();
  std::vector<Row> rows;
  for (int n = 0; n < 400; ++n) rows.push_back(Picture("C:\\p" + std::to_string(n) + ".jpg"));
  db.Add(PicInfo(rows));
  const std::string whole = db.Bytes();
  const Status cut = ReadBytes(whole.substr(0, whole.size() - 3 * db.page_size() - 100));
  EXPECT_FALSE(cut.ok());
  EXPECT_TRUE(cut.message().starts_with(not_readable)) << cut.message();
  EXPECT_GT(run.pictures.size(), 0u) << "the rows before the cut are read";
  EXPECT_LT(run.pictures.size(), 400u);

  std::string crashing = whole;  // the table's usage map in a row its page does not have
  crashing[3 * db.page_size() + (GetParam() == 4 ? 55 : 35)] = 21;
  EXPECT_EQ(ReadBytes(crashing).message(), not_readable + ": the table GA_PicInfo cannot be read")
      << "libmdb would crash on it: it is not given the table";
}

TEST_P(PhotoRecall, StopsAfterThePictureInHand) {
  JetDatabase db = Database();
  db.Add(PicInfo({Picture("C:\\1.jpg"), Picture("C:\\2.jpg"), Picture("C:\\3.jpg")}));
  run.stop_after = 2;
  ASSERT_TRUE(Read(db).ok());
  EXPECT_EQ(run.pictures.size(), 2u);
}

TEST(JetTable, AReaderThatHangsIsEndedAfterItsPatience) {
  // A memo whose chain of long-value rows is one row of 4 bytes pointing to itself: libmdb
  // reads it for ever.
  JetDatabase db(3);
  db.Add(PicInfo({{"1", "C:\\a.jpg", "t", "k", "c", std::string(6000, 'm'), "a", "36526"}}));
  std::string bytes = db.Bytes();
  const size_t page_size = db.page_size();
  size_t page = 0;
  while (bytes.compare(page * page_size + 4, 4, "LVAL") != 0) ++page;
  const size_t at = page * page_size;
  const uint32_t row_start = static_cast<uint32_t>(page_size - 4),
                 self = static_cast<uint32_t>(page << 8);
  bytes[at + 10] = static_cast<char>(row_start & 0xFF);
  bytes[at + 11] = static_cast<char>(row_start >> 8);
  for (int k = 0; k < 4; ++k) bytes[at + page_size - 4 + k] = static_cast<char>(self >> (8 * k));
  TempDir dir;
  dir.Write("hangs.mdb", bytes);
  JetTable table(std::chrono::milliseconds(300));
  ASSERT_TRUE(table.Open(dir / "hangs.mdb", "GA_PicInfo", {"Source", "Description"}).ok());
  std::vector<JetTable::Cell> row;
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(table.Next(&row).status().message(), "its reader stopped answering");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// Sends one message as the child's side frames it: a kind byte, a 32-bit length, the text.
void SendFramed(int out, char kind, const std::string& text) {
  const uint32_t length = static_cast<uint32_t>(text.size());
  std::string message(1, kind);
  message.append(reinterpret_cast<const char*>(&length), 4);
  message += text;
  if (write(out, message.data(), message.size()) < 0) _exit(2);
}

TEST(JetTable, TheChildRunsUnderLimitsAndEndsWhenItOnlyPrints) {
  JetTable table;
  const auto report = [](int out) {  // the limits as the child sees them
    rlimit core{}, cpu{}, printed{};
    getrlimit(RLIMIT_CORE, &core);
    getrlimit(RLIMIT_CPU, &cpu);
    getrlimit(RLIMIT_FSIZE, &printed);
    SendFramed(out, 'E',
               std::to_string(core.rlim_cur) + " " + std::to_string(prctl(PR_GET_DUMPABLE)) + " " +
                   std::to_string(cpu.rlim_cur) + " " + std::to_string(printed.rlim_cur));
  };
  EXPECT_EQ(table.OpenWith(report, 1).message(), "0 0 60 65536")
      << "no core file, a minute, 64 KB of printing";
  EXPECT_EQ(table.OpenWith([](int) { raise(SIGSEGV); }, 1).message(),
            "its reader failed (Segmentation fault)");

  const auto chatter = [](int) {  // as libmdb does on some damaged files
    for (;;) std::fputs("row 0 of page 12 is beyond the page's end\n", stdout);
  };
  const auto started = std::chrono::steady_clock::now();
  EXPECT_EQ(table.OpenWith(chatter, 1).message(),
            "its reader printed warnings without reading a row");
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

INSTANTIATE_TEST_SUITE_P(Jet, PhotoRecall, testing::Values(3, 4),
                         [](const auto& info) { return "Jet" + std::to_string(info.param); });

TEST(PhotoRecallDate, EngineDatesAndOtherTexts) {
  EXPECT_EQ(PhotoRecallDate("2000-01-01 00:00:00"), "January 1, 2000");
  EXPECT_EQ(PhotoRecallDate("1999-03-07 18:30:00"), "March 7, 1999");
  EXPECT_EQ(PhotoRecallDate("1999-03-07"), "March 7, 1999");
  EXPECT_EQ(PhotoRecallDate("spring 1999"), "spring 1999");
  EXPECT_EQ(PhotoRecallDate("1999-13-07"), "1999-13-07");
}

}  // namespace
}  // namespace lumvane
