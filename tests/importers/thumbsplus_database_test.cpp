// SPDX-License-Identifier: GPL-3.0-or-later
// The ThumbsPlus V3 database, from files laid out here byte by byte.
#include "importers/thumbsplus_database.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "importers/binary_catalog.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_run.h"
#include "tests/support/temp_dir.h"
#include "tests/support/thumbsplus_database.h"

namespace lumvane {
namespace {

using testing_support::RecordingRun;
using testing_support::Tdb;
using testing_support::TempDir;

class ThumbsPlusDatabase : public testing::Test {
 protected:
  // Reads `bytes` as the run's catalog; the reader's outcome.
  Status Read(const std::string& bytes) {
    dir.Write("thumbs.tDB", bytes);
    EXPECT_TRUE(run.OpenCatalog(dir / "thumbs.tDB"));
    return ReadThumbsPlusDatabase(run);
  }
  std::vector<std::string> Subjects() const {
    std::vector<std::string> subjects;
    for (const auto& picture : run.pictures) subjects.push_back(picture.subject);
    return subjects;
  }
  TempDir dir, disk;
  RecordingRun run;
};

// One volume "PHOTOS" mounted at `disk`, with folders 7 ("Trips\1999") and 8 (empty path).
Tdb OneVolume() {
  Tdb db;
  db.volumes = {{5, "PHOTOS"}};
  db.folders = {{7, 5, "Trips\\1999"}, {8, 5, ""}};
  return db;
}

TEST_F(ThumbsPlusDatabase, PathsAndKeywordsAcrossPages) {
  Tdb db = OneVolume();
  db.files = {{1, 7, "a.jpg"}, {2, 8, "b.jpg"}, {3, 7, "c\xE9.jpg"}, {4, 7, "d.jpg"}};
  db.keywords = {{10, "sea"}, {11, "boat"}, {12, "dawn"}, {11, "later boat"}, {13, "caf\xE9"}};
  db.links = {{3, 13}, {1, 10}, {4, 99}, {3, 12}, {1, 11}, {3, 10}, {4, 12}};
  db.per_page = 2;
  db.pages_reversed = true;
  run.volumes = {{"/", ""}, {disk.path(), "PHOTOS"}};
  std::filesystem::create_directories(disk / "Trips/1999");
  testing_support::WritePhoto(disk / "Trips/1999/a.jpg", 1999, 7, 4);
  ASSERT_TRUE(Read(db.Bytes()).ok());
  EXPECT_EQ(run.Sources(), (std::vector<std::string>{disk / "Trips/1999/a.jpg", disk / "b.jpg",
                                                     disk / "Trips/1999/c\xC3\xA9.jpg",
                                                     disk / "Trips/1999/d.jpg"}));
  EXPECT_EQ(Subjects(),
            (std::vector<std::string>{" sea boat", "", " caf\xC3\xA9 dawn sea", " dawn"}))
      << "link order, the first keyword record of an id, nothing for an unknown id";
  EXPECT_EQ(run.pictures[0].picdate, "July 4, 1999");
  EXPECT_EQ(run.pictures[1].picdate, "") << "no file there";
  EXPECT_EQ(run.expected, 4);
}

TEST_F(ThumbsPlusDatabase, VolumesThatAreMissingOrRepeatedOrMany) {
  Tdb db;
  db.volumes = {{1, "PHOTOS"}, {2, "PHOTOS"}, {3, "GONE"}};
  for (uint32_t v = 4; v <= 20; ++v) db.volumes.push_back({v, "V" + std::to_string(v)});
  db.folders = {{1, 1, "x"}, {2, 2, "y"}, {3, 3, "z"}, {4, 20, "late"}, {5, 77, "nowhere"}};
  db.files = {{1, 1, "a.jpg"}, {2, 2, "b.jpg"}, {3, 3, "c.jpg"},
              {4, 4, "d.jpg"}, {5, 5, "e.jpg"}, {6, 42, "f.jpg"}};
  TempDir v20;
  run.volumes = {{disk.path(), "PHOTOS"}, {v20.path(), "V20"}};
  ASSERT_TRUE(Read(db.Bytes()).ok());
  EXPECT_EQ(run.Sources(),
            (std::vector<std::string>{disk / "x/a.jpg", v20 / "late/d.jpg", "nowhere\\e.jpg"}))
      << "the 20th volume takes part; a volume id in no list: no drive part";
  EXPECT_EQ(run.passed_over,
            (std::vector<std::string>{"PHOTOS:\\y\\b.jpg: volume PHOTOS not available",
                                      "GONE:\\z\\c.jpg: volume GONE not available",
                                      "f.jpg: the catalog names no folder for it"}))
      << "only the first volume of a label has a place";
  EXPECT_EQ(run.volume_probes, 19) << "each label looked up once";

  RecordingRun from_folder;  // "select source directory": a picture needs no volume
  from_folder.reads_folder = true;
  ASSERT_TRUE(from_folder.OpenCatalog(dir / "thumbs.tDB"));
  ASSERT_TRUE(ReadThumbsPlusDatabase(from_folder).ok());
  EXPECT_EQ(from_folder.Sources()[1], "C:\\y\\b.jpg");
  EXPECT_EQ(from_folder.passed_over,
            std::vector<std::string>{"f.jpg: the catalog names no folder for it"});
}

TEST_F(ThumbsPlusDatabase, NumbersWithTheHighBitAndTextsWithoutZero) {
  Tdb db;
  const std::string label64(64, 'L'), name256 = std::string(252, 'n') + ".jpg";
  db.volumes = {{0x80000001, label64}};
  db.folders = {{0x80000002, 0x80000003, "f"}};
  db.files = {{0x80000004, 0x80000005, name256}};
  db.links = {{0x80000006, 0x80000007}};
  db.keywords = {{0x80000008, "high"}, {0x80000009, "second"}};
  run.volumes = {{disk.path(), label64}};
  ASSERT_TRUE(Read(db.Bytes()).ok());
  ASSERT_EQ(run.pictures.size(), 1u);
  EXPECT_EQ(run.pictures[0].source, disk / "f/" + name256)
      << "ids that read -1 match each other, on both byte orders";
  EXPECT_EQ(run.pictures[0].subject, " high");
  EXPECT_EQ(Read_QuadRev(std::string("\x01\x02\x03\x7F", 4), 0), 0x7F030201);
  EXPECT_EQ(Read_QuadRev(std::string("\x01\x02\x03\x80", 4), 0), -1);
  EXPECT_EQ(Read_QuadRev(std::string("\x01\x02\x03", 3), 0), std::nullopt);
}

TEST_F(ThumbsPlusDatabase, DamagedDatabasesEndInOrder) {
  Tdb db = OneVolume();
  for (uint32_t n = 1; n <= 6; ++n) db.files.push_back({n, 7, std::to_string(n) + ".jpg"});
  db.per_page = 2;
  run.volumes = {{disk.path(), "PHOTOS"}};
  Tdb::Layout layout;
  const std::string good = db.Bytes(&layout);
  const std::string catalog = dir / "thumbs.tDB";

  std::string looping = good;  // the third page links back to the first
  const auto& pages = layout.pages[Tdb::kFileAnchor];
  Tdb::Put(looping, pages[2], Tdb::Le(static_cast<uint32_t>(pages[0])));
  Tdb::Put(looping, layout.descriptors[Tdb::kFileAnchor] + 24, Tdb::Le(8));
  Status status = Read(looping);
  EXPECT_EQ(status.message(),
            catalog + " is damaged at byte " + std::to_string(pages[2]) + "; 6 pictures were read");
  EXPECT_EQ(run.pictures.size(), 6u);

  std::string outside = good;  // the descriptor of the keyword table lies past the end
  Tdb::Put(outside, Tdb::kKeywordAnchor, Tdb::Le(static_cast<uint32_t>(good.size())));
  run.pictures.clear();
  EXPECT_EQ(Read(outside).message(), catalog + " is damaged at byte 4149; 0 pictures were read");

  std::string empty_keywords = good;  // no keywords, and a page link that goes nowhere
  Tdb::Put(empty_keywords, layout.descriptors[Tdb::kKeywordAnchor] + 24, Tdb::Le(0));
  Tdb::Put(empty_keywords, layout.descriptors[Tdb::kKeywordAnchor] + 72, Tdb::Le(0x7FFFFFF0));
  run.pictures.clear();
  EXPECT_TRUE(Read(empty_keywords).ok());
  EXPECT_EQ(run.pictures.size(), 6u);

  std::string counted = good;  // a count no file of this size could hold ends with the pages
  Tdb::Put(counted, layout.descriptors[Tdb::kFileAnchor] + 24, Tdb::Le(0x7FFFFFFF));
  run.pictures.clear();
  EXPECT_TRUE(Read(counted).ok());
  EXPECT_EQ(run.pictures.size(), 6u);

  run.pictures.clear();  // cut inside the last file record
  status = Read(good.substr(0, layout.pages[Tdb::kFileAnchor][0] - 338 + 100));
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(run.pictures.size(), 0u) << status.message();
}

TEST_F(ThumbsPlusDatabase, StopsAfterThePictureInHand) {
  Tdb db = OneVolume();
  for (uint32_t n = 1; n <= 5; ++n) db.files.push_back({n, 7, std::to_string(n) + ".jpg"});
  run.stop_after = 2;
  run.volumes = {{disk.path(), "PHOTOS"}};
  ASSERT_TRUE(Read(db.Bytes()).ok());
  EXPECT_EQ(run.pictures.size(), 2u);
}

// The keywords as the older program found them: the whole link table for every file, and
// the keyword table from its start for every link.
std::vector<std::string> RescannedSubjects(const Tdb& db) {
  const auto read = [](uint32_t id) { return id >= 0x80000000u ? -1 : int64_t{id}; };
  std::vector<std::string> subjects;
  for (const auto& file : db.files) {
    std::string subject;
    for (const auto& link : db.links) {
      if (read(link.file) != read(file.id)) continue;
      for (const auto& keyword : db.keywords) {
        if (read(keyword.id) == read(link.keyword)) {
          subject += " " + keyword.text;
          break;
        }
      }
    }
    subjects.push_back(subject);
  }
  return subjects;
}

TEST_F(ThumbsPlusDatabase, IndexedKeywordsMatchAFullRescan) {
  std::mt19937 random(20261207);
  const auto id = [&](int range) {
    const uint32_t value = random() % range;
    return random() % 20 == 0 ? 0x80000000u + value : value;  // some read -1
  };
  Tdb db = OneVolume();
  for (int n = 0; n < 300; ++n) db.files.push_back({id(200), 7, "f" + std::to_string(n) + ".jpg"});
  for (int n = 0; n < 120; ++n) db.keywords.push_back({id(100), "k" + std::to_string(n)});
  for (int n = 0; n < 1500; ++n) db.links.push_back({id(220), id(110)});
  db.per_page = 37;
  run.volumes = {{disk.path(), "PHOTOS"}};
  ASSERT_TRUE(Read(db.Bytes()).ok());
  EXPECT_EQ(Subjects(), RescannedSubjects(db));
}

}  // namespace
}  // namespace lumvane
