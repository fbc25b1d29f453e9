// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/embedded_description.h"

#include <gtest/gtest.h>

#include "processing/process_picture.h"
#include "tests/imagelib/test_pictures.h"
#include "tests/support/exiftool.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

using testing_support::Exiftool;
using testing_support::TempDir;

class EmbeddedDescriptionTest : public testing::Test {
 protected:
  // A photo with the metadata that exiftool's `args` write.
  std::string Photo(const std::string& name, const std::vector<std::string>& args) {
    const std::string path = dir / name;
    testing_support::WritePhoto(path);
    EXPECT_TRUE(args.empty() || Exiftool(path, args)) << "exiftool failed on " << name;
    return path;
  }
  TempDir dir;
};

TEST_F(EmbeddedDescriptionTest, XmpGivesEveryField) {
  const auto d = ReadEmbeddedDescription(Photo(
      "xmp.jpg", {"-XMP-dc:Title=Harbour at dawn", "-XMP-dc:Subject=boat",
                  "-XMP-dc:Subject=harbour", "-XMP-dc:Subject=boat", "-XMP-photoshop:Category=TRV",
                  "-XMP-photoshop:SupplementalCategories=Summer", "-XMP-dc:Description=Two boats",
                  "-XMP-dc:Creator=Ann", "-XMP-dc:Creator=Bo",
                  "-XMP-exif:DateTimeOriginal=2005:12:31 12:34:56"}));
  EXPECT_EQ(d.title, "Harbour at dawn");
  EXPECT_EQ(d.subject, "boat harbour") << "each keyword once";
  EXPECT_EQ(d.category, "TRV Summer");
  EXPECT_EQ(d.comment, "Two boats");
  EXPECT_EQ(d.author, "Ann, Bo");
  ASSERT_TRUE(d.taken);
  EXPECT_EQ(FormatLongDate(*d.taken), "December 31, 2005");
}

TEST_F(EmbeddedDescriptionTest, CameraFactsBecomeDetailLines) {
  const auto d = ReadEmbeddedDescription(Photo(
      "camera.jpg", {"-EXIF:Make=NIKON CORPORATION", "-EXIF:Model=NIKON D70", "-EXIF:FNumber=2.8",
                     "-EXIF:ExposureTime=1/250", "-EXIF:ISO=200", "-EXIF:FocalLength=50",
                     "-EXIF:LensModel=18-70 mm", "-GPSLatitude=48.8583", "-GPSLatitudeRef=N",
                     "-GPSLongitude=2.2945", "-GPSLongitudeRef=W"}));
  EXPECT_EQ(d.details,
            "camera=NIKON D70\nlens=18-70 mm\naperture=f/2.8\nexposure=1/250 s\niso=200\n"
            "focal=50 mm\ngps=48.858300,-2.294500\npixels=64 x 48");
  const auto other = ReadEmbeddedDescription(
      Photo("other.jpg", {"-EXIF:Make=Leica", "-EXIF:Model=M6", "-EXIF:ExposureTime=2",
                          "-GPSLatitude=0", "-GPSLongitude=0"}));
  EXPECT_EQ(other.details, "camera=Leica M6\nexposure=2 s\npixels=64 x 48")
      << "the maker named once, long exposures in seconds, a position of zeros is no fix";
}

// Pictures of other formats carry their texts and dates as JPEGs do.
TEST_F(EmbeddedDescriptionTest, XmpOfEveryOtherFormat) {
  using testing_pictures::Format;
  const std::pair<const char*, Format> pictures[] = {{"a.png", Format::kPng},
                                                     {"a.tif", Format::kTiff},
                                                     {"a.webp", Format::kWebpLossy},
                                                     {"a.heic", Format::kHeic}};
  for (const auto& [name, format] : pictures) {
    ASSERT_TRUE(testing_pictures::WritePicture(dir / name, {format}));
    ASSERT_TRUE(Exiftool(dir / name, {"-XMP-dc:Title=Harbour", "-XMP-dc:Subject=boat",
                                      "-EXIF:DateTimeOriginal=2021:06:01 10:00:00"}))
        << name;
    const auto d = ReadEmbeddedDescription(dir / name);
    EXPECT_EQ(d.title, "Harbour") << name;
    EXPECT_EQ(d.subject, "boat") << name;
    ASSERT_TRUE(d.taken) << name;
    EXPECT_EQ(FormatLongDate(*d.taken), "June 1, 2021") << name;
  }
}

TEST_F(EmbeddedDescriptionTest, IptcInItsDeclaredCharacterSet) {
  const auto latin = ReadEmbeddedDescription(Photo(
      "latin.jpg",
      {"-charset", "iptc=Latin", "-IPTC:ObjectName=Caf\xC3\xA9", "-IPTC:Keywords=M\xC3\xBCnchen",
       "-IPTC:Keywords=Br\xC3\xBC"
       "cke",
       "-IPTC:By-line=Zo\xC3\xAB", "-IPTC:DateCreated=1999:04:05"}));
  EXPECT_EQ(latin.title, "Caf\xC3\xA9");
  EXPECT_EQ(latin.subject,
            "M\xC3\xBCnchen Br\xC3\xBC"
            "cke");
  EXPECT_EQ(latin.author, "Zo\xC3\xAB");
  ASSERT_TRUE(latin.taken);
  EXPECT_EQ(FormatLongDate(*latin.taken), "April 5, 1999");
  const auto utf8 = ReadEmbeddedDescription(
      Photo("utf8.jpg",
            {"-IPTC:CodedCharacterSet=UTF8", "-IPTC:Caption-Abstract=\xE6\x9D\xB1\xE4\xBA\xAC"}));
  EXPECT_EQ(utf8.comment, "\xE6\x9D\xB1\xE4\xBA\xAC");
}

TEST_F(EmbeddedDescriptionTest, WindowsTagsAreUtf16) {
  const auto d = ReadEmbeddedDescription(
      Photo("xp.jpg", {"-EXIF:XPTitle=Z\xC3\xBCrich", "-EXIF:XPKeywords=lake;city;lake",
                       "-EXIF:XPComment=Evening", "-EXIF:XPAuthor=\xC3\x85sa"}));
  EXPECT_EQ(d.title, "Z\xC3\xBCrich");
  EXPECT_EQ(d.subject, "lake city");
  EXPECT_EQ(d.comment, "Evening");
  EXPECT_EQ(d.author, "\xC3\x85sa");
}

TEST_F(EmbeddedDescriptionTest, XmpBeforeIptcBeforeExifAndNoCameraDefaults) {
  const auto d = ReadEmbeddedDescription(
      Photo("all.jpg",
            {"-XMP-dc:Title=from XMP", "-IPTC:ObjectName=from IPTC", "-EXIF:XPTitle=from EXIF",
             "-IPTC:By-line=IPTC author", "-EXIF:Artist=EXIF author",
             "-EXIF:ImageDescription=OLYMPUS DIGITAL CAMERA", "-EXIF:XPComment=said by Windows",
             "-EXIF:DateTimeOriginal=2001:02:03 04:05:06", "-IPTC:DateCreated=1999:01:01"}));
  EXPECT_EQ(d.title, "from XMP");
  EXPECT_EQ(d.author, "IPTC author");
  EXPECT_EQ(d.comment, "said by Windows") << "the camera's own caption is no caption";
  EXPECT_EQ(FormatLongDate(*d.taken), "February 3, 2001");
  const auto blank = ReadEmbeddedDescription(Photo("blank.jpg", {"-EXIF:ImageDescription=    "}));
  EXPECT_EQ(blank.comment, "");
}

TEST_F(EmbeddedDescriptionTest, NothingDamagedOrHugeStopsThePicture) {
  const auto none = ReadEmbeddedDescription(Photo("none.jpg", {}));
  EXPECT_FALSE(none.any_text());
  EXPECT_FALSE(none.taken);
  EXPECT_FALSE(ReadEmbeddedDescription(dir / "missing.jpg").any_text());

  std::vector<std::string> many;
  for (int i = 0; i < 300; ++i) many.push_back("-IPTC:Keywords=word" + std::to_string(i));
  const auto lots = ReadEmbeddedDescription(Photo("many.jpg", many));
  EXPECT_EQ(std::count(lots.subject.begin(), lots.subject.end(), ' '), 299);

  // Scribble over the inside of the EXIF and IPTC segments: the picture is still archived.
  const std::string path = Photo("damaged.jpg", {"-IPTC:ObjectName=Title", "-EXIF:Artist=Someone"});
  std::string bytes = testing_support::ReadAll(path);
  for (const char* block : {"Exif", "Photoshop 3.0"}) {
    const size_t at = bytes.find(block);
    ASSERT_NE(at, std::string::npos) << block;
    const size_t length =
        static_cast<unsigned char>(bytes[at - 2]) * 256 + static_cast<unsigned char>(bytes[at - 1]);
    for (size_t i = at + 14; i < at - 2 + length; ++i) bytes[i] = static_cast<char>(i * 37);
  }
  dir.Write("damaged.jpg", bytes);
  ReadEmbeddedDescription(path);  // whatever it can read, without throwing
  TempDir dest;
  PictureInput input = testing_support::PictureAt(path);
  input.read_embedded = true;
  EXPECT_TRUE(ProcessPicture(input, {dest.path(), std::nullopt, CopyMode::kNone}).archived());
}

}  // namespace
}  // namespace lumvane
