// SPDX-License-Identifier: GPL-3.0-or-later
// The Photo Organizer library and the Gallery catalog, from files laid out here byte by byte.
#include <gtest/gtest.h>

#include "importers/binary_catalog.h"
#include "importers/gallery_catalog.h"
#include "importers/photo_organizer_library.h"
#include "tests/support/binary_catalogs.h"
#include "tests/support/pictures.h"
#include "tests/support/recording_run.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::Gal;
using testing_support::Plb;
using testing_support::RecordingRun;
using testing_support::TempDir;

// Reads `bytes` as a catalog with `reader`; the pictures and the outcome.
struct Read {
  std::vector<PictureInput> pictures;
  Status status;
};
Read ReadWith(Status (*reader)(ImportRun&), const std::string& bytes, int stop_after = -1) {
  TempDir dir;
  dir.Write("catalog", bytes);
  RecordingRun run;
  run.stop_after = stop_after;
  EXPECT_TRUE(run.OpenCatalog(dir / "catalog"));
  Status status = reader(run);
  return {run.pictures, status};
}

TEST(PhotoOrganizerDate, SerialDaysWithTheirCalendar) {
  EXPECT_EQ(PhotoOrganizerDate(0x20, 0xA8, 0xE1), "January 1, 1999");
  EXPECT_EQ(PhotoOrganizerDate(0, 0, 0), "January 1, 1900") << "day 2";
  EXPECT_EQ(PhotoOrganizerDate(0xFF, 0xFF, 0xFF), "November 9, 2258") << "the largest value";
  EXPECT_EQ(FormatLongDate(DateFromSerialDay(60)), "February 28, 1900");
  EXPECT_EQ(FormatLongDate(DateFromSerialDay(61)), "March 1, 1900");
  EXPECT_EQ(FormatLongDate(DateFromSerialDay(36585)), "February 29, 2000");
}

TEST(PhotoOrganizerLibrary, RecordsListsAndTheAuthorRule) {
  const std::string plb = Plb()
                              .Junk("header bytes")
                              .List({"early"}, {})  // before any record: empty texts
                              .Record("Harbour", "Boats at dawn", "Smith", "C:\\P\\a.jpg", "Ann ")
                              .List({"boat", "sea"}, {})
                              .Record("Church", "", "Smith", "C:\\P\\b.jpg", "Ann")
                              .Junk("between")
                              .List({}, {"Travel", "Summer"})
                              .List({}, {})  // a second list after one record
                              .Record("Hills", "", "Smith", "C:\\P\\c.jpg", "")
                              .List({}, {})
                              .Record("No list", "", "", "C:\\P\\d.jpg", "")
                              .bytes();
  const Read read = ReadWith(ReadPhotoOrganizerLibrary, plb);
  ASSERT_TRUE(read.status.ok()) << read.status.message();
  ASSERT_EQ(read.pictures.size(), 5u);
  EXPECT_EQ(read.pictures[0].source, "");
  EXPECT_EQ(read.pictures[0].subject, " early");
  EXPECT_EQ(read.pictures[1].source, "C:\\P\\a.jpg");
  EXPECT_EQ(read.pictures[1].title, "Harbour");
  EXPECT_EQ(read.pictures[1].comment, "Boats at dawn");
  EXPECT_EQ(read.pictures[1].author, "Ann Smith") << "first part ending in a blank";
  EXPECT_EQ(read.pictures[1].subject, " boat sea");
  EXPECT_EQ(read.pictures[1].category, "");
  EXPECT_EQ(read.pictures[1].picdate, "January 1, 1999");
  EXPECT_EQ(read.pictures[2].author, "Ann Smith") << "a blank put between";
  EXPECT_EQ(read.pictures[2].category, " Travel Summer");
  EXPECT_EQ(read.pictures[3].title, "Church") << "a second list repeats the record";
  EXPECT_EQ(read.pictures[4].author, "Smith") << "no first part";
}

TEST(PhotoOrganizerLibrary, Windows1252AndLongTextsAndStop) {
  const std::string long_title(255, 'x');
  const std::string plb = Plb()
                              .Record("\x80 \x84\x93 \xBD \xDF", "", "", "C:\\a.jpg", "")
                              .List({}, {})
                              .Record(long_title, "", "", "C:\\b.jpg", "")
                              .List({}, {})
                              .Record("third", "", "", "C:\\c.jpg", "")
                              .List({}, {})
                              .bytes();
  const Read read = ReadWith(ReadPhotoOrganizerLibrary, plb, 2);
  ASSERT_EQ(read.pictures.size(), 2u) << "stopped after the second picture";
  EXPECT_EQ(read.pictures[0].title, "\xE2\x82\xAC \xE2\x80\x9E\xE2\x80\x9C \xC2\xBD \xC3\x9F");
  EXPECT_EQ(read.pictures[1].title, long_title);
}

TEST(PhotoOrganizerLibrary, ATruncatedLibraryKeepsThePicturesBeforeAndSaysWhere) {
  std::string plb = Plb().Record("One", "", "", "C:\\a.jpg", "").List({}, {}).bytes();
  const size_t damage = plb.size() + 11;
  plb += Plb().Record("Two", "", "", "C:\\b.jpg", "").bytes().substr(0, 14);
  const Read read = ReadWith(ReadPhotoOrganizerLibrary, plb);
  EXPECT_EQ(read.pictures.size(), 1u);
  EXPECT_TRUE(read.status.message().ends_with(" is damaged at byte " + std::to_string(damage) +
                                              "; 1 picture was read"))
      << read.status.message();
  const std::string cut_list = Plb().List({"a", "b"}, {}).bytes();
  EXPECT_FALSE(
      ReadWith(ReadPhotoOrganizerLibrary, cut_list.substr(0, cut_list.size() - 1)).status.ok());
}

TEST(Read_Quad, BigEndianWithHighFirstBytesAsMinusOne) {
  EXPECT_EQ(Read_Quad(std::string("\x00\x01\x02\x03", 4), 0), 0x010203);
  EXPECT_EQ(Read_Quad(std::string("\x80\x00\x00\x00", 4), 0), -1);
  EXPECT_EQ(Read_Quad(std::string("\x00\x01\x02", 3), 0), std::nullopt);
  EXPECT_EQ(Read_Quad(std::string(8, '\0'), -1), std::nullopt);
}

TEST(GalleryCatalog, ChainOfRecordsWithTheirTextsAndDates) {
  TempDir photos;
  testing_support::WritePhoto(photos / "a.jpg", 1999, 4, 5);
  const Gal gal({{photos / "a.jpg", "Harbour", "Boats"},
                 {photos / "gone.jpg", "Caf\xE9", "", false},
                 {photos / "c.jpg", "Third", "x"}});
  const Read read = ReadWith(ReadGalleryCatalog, gal.Bytes(3));
  ASSERT_TRUE(read.status.ok()) << read.status.message();
  ASSERT_EQ(read.pictures.size(), 3u);
  EXPECT_EQ(read.pictures[0].source, photos / "a.jpg");
  EXPECT_EQ(read.pictures[0].title, "Harbour");
  EXPECT_EQ(read.pictures[0].comment, "Boats");
  EXPECT_EQ(read.pictures[0].picdate, "April 5, 1999");
  EXPECT_EQ(read.pictures[1].title, "Caf\xC3\xA9");
  EXPECT_EQ(read.pictures[1].comment, "") << "comment position -1";
  EXPECT_EQ(read.pictures[1].picdate, "") << "a missing file: no date";
  EXPECT_EQ(ReadWith(ReadGalleryCatalog, gal.Bytes(0)).pictures.size(), 0u);
  EXPECT_EQ(ReadWith(ReadGalleryCatalog, gal.Bytes(3), 2).pictures.size(), 2u) << "stop";
}

TEST(GalleryCatalog, HeadsAndRedirections) {
  const Gal gal({{"C:\\a.jpg", "A", ""}, {"C:\\b.jpg", "B", ""}});
  for (const int64_t head_value : {0, 1}) {  // read in place
    std::string bytes = gal.Bytes(1);
    Gal::Put(&bytes, 260, head_value);
    EXPECT_EQ(ReadWith(ReadGalleryCatalog, bytes).pictures.at(0).title, "A");
  }
  std::string redirected = gal.Bytes(1);
  Gal::Put(&redirected, 260, 260 + 88);  // the first record is really the second
  EXPECT_EQ(ReadWith(ReadGalleryCatalog, redirected).pictures.at(0).title, "B");
}

TEST(GalleryCatalog, DamagedGalleriesEndInOrder) {
  const Gal gal({{"C:\\a.jpg", "A", ""}, {"C:\\b.jpg", "B", ""}, {"C:\\c.jpg", "C", ""}});
  const Read looping = ReadWith(ReadGalleryCatalog, gal.Bytes(2000000000, {{2, 0}}));
  EXPECT_EQ(looping.pictures.size(), 3u) << "a chain that loops is read once";
  EXPECT_TRUE(looping.status.message().ends_with(" is damaged at byte 260; 3 pictures were read"))
      << looping.status.message();
  const Read fits = ReadWith(ReadGalleryCatalog, gal.Bytes(3, {{2, -1}}));
  EXPECT_TRUE(fits.status.ok());
  const Read more_than_chain = ReadWith(ReadGalleryCatalog, gal.Bytes(5));
  EXPECT_EQ(more_than_chain.pictures.size(), 3u);
  EXPECT_FALSE(more_than_chain.status.ok()) << "the file could hold five: the chain is cut";
  const Read huge_count = ReadWith(ReadGalleryCatalog, gal.Bytes(1000000));
  EXPECT_EQ(huge_count.pictures.size(), 3u);
  EXPECT_TRUE(huge_count.status.ok()) << "a count the file cannot hold ends with the file";

  std::string outside = gal.Bytes(3);
  Gal::Put(&outside, 260 + 88 + 12, 1 << 20);  // the second path outside the file
  const Read cut = ReadWith(ReadGalleryCatalog, outside);
  EXPECT_EQ(cut.pictures.size(), 1u);
  EXPECT_TRUE(cut.status.message().ends_with(" is damaged at byte 348; 1 picture was read"));
  std::string negative = gal.Bytes(3);
  Gal::Put(&negative, 260 + 20, 0xFFFFFFF0);  // a negative title position
  EXPECT_EQ(ReadWith(ReadGalleryCatalog, negative).pictures.size(), 0u);
  EXPECT_FALSE(ReadWith(ReadGalleryCatalog, std::string(100, '\0')).status.ok()) << "no header";
}

}  // namespace
}  // namespace lumvane
