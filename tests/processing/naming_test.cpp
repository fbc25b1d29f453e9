// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/naming.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

TEST(Naming, EachGroupHasItsThreeVariants) {
  const struct {
    const char* code;
    const char* thumb;
    const char* display;
    const char* copy;
  } groups[] = {{"K7Q2M40", "_K7Q2M40.jpg", "_K7Q2M41.jpg", "_K7Q2M42.jpg"},
                {"K7Q2M48", "_K7Q2M48.jpg", "_K7Q2M49.jpg", "_K7Q2M4A.jpg"},
                {"K7Q2M4H", "_K7Q2M4H.jpg", "_K7Q2M4J.jpg", "_K7Q2M4K.jpg"},
                {"K7Q2M4R", "_K7Q2M4R.jpg", "_K7Q2M4S.jpg", "_K7Q2M4T.jpg"}};
  for (const auto& g : groups) {
    const auto names = NamesForCode(g.code);
    ASSERT_TRUE(names.has_value()) << g.code;
    EXPECT_EQ(names->thumbnail, g.thumb);
    EXPECT_EQ(names->display, g.display);
    EXPECT_EQ(names->copy, g.copy);
  }
  EXPECT_FALSE(NamesForCode("K7Q2M41").has_value());
  EXPECT_FALSE(NamesForCode("short").has_value());
}

TEST(Naming, CodeDependsOnDateAndNameOnly) {
  EXPECT_EQ(NameCodeFor("19990405103000IMG_0042.jpg"), NameCodeFor("19990405103000IMG_0042.jpg"));
  EXPECT_NE(NameCodeFor("19990405103000IMG_0042.jpg"), NameCodeFor("19990405103001IMG_0042.jpg"));
  EXPECT_TRUE(NamesForCode(NameCodeFor("20200101000000x.jpg")).has_value());
}

// Picture names are read as they are and recorded with the extension in lower case; other
// names follow the old rules for ".jpg" inside a name.
TEST(Naming, PictureNamesAndTheOldExtensionRules) {
  const struct {
    const char* name;
    bool jpeg_only;
    const char* on_disk;  // null: not a picture name
    const char* recorded;
  } cases[] = {
      {"IMG_0042.JPG", true, "IMG_0042.JPG", "IMG_0042.jpg"},
      {"Phone.Jpeg", true, "Phone.Jpeg", "Phone.jpeg"},
      {"IMG_1.HEIC", false, "IMG_1.HEIC", "IMG_1.heic"},
      {"scan.Tiff", false, "scan.Tiff", "scan.tiff"},
      {"scan.gif", true, nullptr, nullptr},
      {"notes.txt", false, nullptr, nullptr},
      {".webp", false, nullptr, nullptr},
      {"photo.JPG.bak", false, "photo.jpg", "photo.jpg"},  // looked for under the rewritten name
      {"photo.jpg.bak", true, "photo.jpg.bak", "photo.jpg.bak"},
  };
  for (const auto& c : cases) {
    const auto name = ClassifyPictureName(c.name, c.jpeg_only);
    ASSERT_EQ(name.has_value(), c.on_disk != nullptr) << c.name;
    if (!name) continue;
    EXPECT_EQ(name->on_disk, c.on_disk);
    EXPECT_EQ(name->recorded, c.recorded);
  }
  EXPECT_EQ(RenamedCopyName("_K7Q2M42.jpg", "a.jpeg"), "_K7Q2M42.jpg");
  EXPECT_EQ(RenamedCopyName("_K7Q2M42.jpg", "a.png"), "_K7Q2M42.png");
}

TEST(IsOriginalPicture, GeneratedImagesNeedTheirPartner) {
  testing_support::TempDir dir;
  for (const char* name : {"_ABCDEF0.jpg", "_ABCDEF1.jpg", "_ABCDEF2.jpg", "_QQQQQQH.jpg"}) {
    dir.Write(name, "x");
  }
  EXPECT_FALSE(IsOriginalPicture(dir.path(), "_ABCDEF0.jpg")) << "thumbnail with its display image";
  EXPECT_FALSE(IsOriginalPicture(dir.path(), "_ABCDEF1.jpg")) << "display image with its thumbnail";
  EXPECT_TRUE(IsOriginalPicture(dir.path(), "_ABCDEF2.jpg")) << "a renamed copy is an original";
  EXPECT_TRUE(IsOriginalPicture(dir.path(), "_QQQQQQH.jpg")) << "a lone thumbnail is an original";
  EXPECT_TRUE(IsOriginalPicture(dir.path(), "_ABCDEF0.JPG")) << "generated names are lower case";
  EXPECT_TRUE(IsOriginalPicture(dir.path(), "IMG_0001.jpg"));
  EXPECT_TRUE(IsOriginalPicture(dir.path(), "texture.jpg")) << "no archive beside it";
  dir.Write("archive.htm", "x");
  EXPECT_FALSE(IsOriginalPicture(dir.path(), "texture.jpg")) << "an archive's background";
}

}  // namespace
}  // namespace lumvane
