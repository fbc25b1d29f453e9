#include "pictures/naming.h"

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

TEST(Naming, JpegNamesInAnyCaseAreRecordedInLowerCase) {
  const auto upper = ClassifyJpegName("IMG_0042.JPG");
  ASSERT_TRUE(upper);
  EXPECT_EQ(upper->on_disk, "IMG_0042.JPG");
  EXPECT_EQ(upper->recorded, "IMG_0042.jpg");
  EXPECT_EQ(ClassifyJpegName("Phone.Jpeg")->recorded, "Phone.jpeg");
  EXPECT_EQ(ClassifyJpegName("Phone.Jpeg")->on_disk, "Phone.Jpeg");
  EXPECT_EQ(ClassifyJpegName("a.jpg")->recorded, "a.jpg");
}

TEST(Naming, OtherNamesFollowTheOldExtensionRules) {
  EXPECT_FALSE(ClassifyJpegName("scan.gif"));
  EXPECT_FALSE(ClassifyJpegName("notes.txt"));
  const auto backup = ClassifyJpegName("photo.JPG.bak");
  ASSERT_TRUE(backup);
  EXPECT_EQ(backup->on_disk, "photo.jpg") << "looked for under the rewritten name";
  EXPECT_EQ(backup->recorded, "photo.jpg");
  EXPECT_EQ(ClassifyJpegName("photo.jpg.bak")->on_disk, "photo.jpg.bak");
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
