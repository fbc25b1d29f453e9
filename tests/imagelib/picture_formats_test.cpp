// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of every format but JPEG become display images like JPEGs do: upright, in their
// colours, transparency over the page's background, the first frame or page; damaged ones fail.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "imagelib/colour.h"
#include "imagelib/vantle.h"
#include "tests/imagelib/test_jpegs.h"
#include "tests/imagelib/test_pictures.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_pictures::Format;
using testing_pictures::Picture;
using testing_support::TempDir;

enum class Seen { kRed, kGreen, kBlue, kBackground };

bool Shows(testing_jpegs::Rgb p, Seen colour) {
  switch (colour) {
    case Seen::kRed:
      return p.r > 150 && p.g < 90 && p.b < 90;
    case Seen::kGreen:
      return p.g > 150 && p.r < 90 && p.b < 90;
    case Seen::kBlue:
      return p.b > 150 && p.r < 90 && p.g < 90;
    case Seen::kBackground:  // #F4F1EA
      return std::abs(p.r - 0xF4) < 12 && std::abs(p.g - 0xF1) < 12 && std::abs(p.b - 0xEA) < 12;
  }
  return false;
}

int Render(const std::string& in, const std::string& out, int formats = VANTLE_EVERY_FORMAT,
           vantle_failure* failure = nullptr) {
  return sjpeg_noted(in.c_str(), out.c_str(), 0, nullptr, formats, failure);
}

struct Case {
  const char* name;
  Picture picture;
  int width, height;   // of the display image
  Seen first, second;  // the colour at the middle of its first and second half
};

// An RGB colour space whose red and blue primaries are sRGB's blue and red.
std::vector<uint8_t> SwappedProfile() {
  return vantle::ProfileForPrimaries({0.15f, 0.06f, 0.30f, 0.60f, 0.64f, 0.33f, 0.3127f, 0.3290f});
}

// The halves lie left and right, or (turned a quarter) top and bottom.
const Case kCases[] = {
    {"plain.png", {Format::kPng}, 64, 48, Seen::kRed, Seen::kBlue},
    {"deep.png", {Format::kPng16, 64, 48, 1, true}, 64, 48, Seen::kRed, Seen::kBackground},
    {"palette.png", {Format::kPngPalette, 64, 48, 6, true}, 48, 64, Seen::kRed, Seen::kBackground},
    {"swapped.png",
     {Format::kPng, 64, 48, 1, false, SwappedProfile()},
     64,
     48,
     Seen::kBlue,
     Seen::kRed},
    {"png-named.jpg", {Format::kPng}, 64, 48, Seen::kRed, Seen::kBlue},
    {"two-frames.gif", {Format::kGif, 64, 48, 1, true}, 64, 48, Seen::kRed, Seen::kBackground},
    {"turned.tif", {Format::kTiff, 64, 48, 6}, 48, 64, Seen::kRed, Seen::kBlue},
    {"cmyk.tif", {Format::kTiffCmyk}, 64, 48, Seen::kRed, Seen::kBlue},
    {"profiled-cmyk.tif",
     {Format::kTiffCmyk, 64, 48, 1, false, testing_pictures::CmykProfile(true)},
     64,
     48,
     Seen::kGreen,
     Seen::kBlue},
    {"two-pages.tiff", {Format::kTiffTwoPages}, 64, 48, Seen::kRed, Seen::kBlue},
    {"deep-cmyk.tif", {Format::kTiffCmyk16}, 64, 48, Seen::kRed, Seen::kBlue},
    {"float.tif", {Format::kTiffFloat}, 64, 48, Seen::kRed, Seen::kBlue},
    {"half.tif", {Format::kTiffHalf}, 64, 48, Seen::kRed, Seen::kBlue},
    {"plain.bmp", {Format::kBmp}, 64, 48, Seen::kRed, Seen::kBlue},
    {"lossy.webp", {Format::kWebpLossy}, 64, 48, Seen::kRed, Seen::kBlue},
    {"upside-down.webp",
     {Format::kWebpLossless, 64, 48, 3, true},
     64,
     48,
     Seen::kBackground,
     Seen::kRed},
    {"turned.heic", {Format::kHeic, 64, 48, 6}, 48, 64, Seen::kRed, Seen::kBlue},
    {"plain.avif", {Format::kAvif}, 64, 48, Seen::kRed, Seen::kBlue},
};

TEST(PictureFormats, EveryFormatGivesAnUprightDisplayImageInItsColours) {
  TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(testing_pictures::WritePicture(dir / c.name, c.picture));
    ASSERT_EQ(Render(dir / c.name, dir / "out.jpg"), VANTLE_DONE);
    const vantle::Raster out = testing_jpegs::ReadJpeg(dir / "out.jpg");
    ASSERT_EQ(out.width, c.width);
    ASSERT_EQ(out.height, c.height);
    const bool across = c.width > c.height;
    const auto first = across ? testing_jpegs::PixelAt(out, c.width / 4, c.height / 2)
                              : testing_jpegs::PixelAt(out, c.width / 2, c.height / 4);
    const auto second = across ? testing_jpegs::PixelAt(out, 3 * c.width / 4, c.height / 2)
                               : testing_jpegs::PixelAt(out, c.width / 2, 3 * c.height / 4);
    EXPECT_TRUE(Shows(first, c.first)) << first.r << "," << first.g << "," << first.b;
    EXPECT_TRUE(Shows(second, c.second)) << second.r << "," << second.g << "," << second.b;
  }
}

// A picture cut short is refused, never shown with a grey or black lower part; JPEG alone
// refuses the other formats as no JPEG; a file of no format is no picture.
TEST(PictureFormats, CutPicturesAreDamagedAndOtherFormatsAreNoJpegWhenJpegAloneIsAsked) {
  TempDir dir;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    const Picture large{c.picture.format, 400, 300, c.picture.orientation,
                        c.picture.transparent_right};
    ASSERT_TRUE(testing_pictures::WritePicture(dir / c.name, large));
    EXPECT_EQ(Render(dir / c.name, dir / "out.jpg", VANTLE_JPEG_ONLY), VANTLE_NOT_JPEG);
    if (c.picture.format == Format::kTiffTwoPages) continue;  // its first page is whole
    const std::string whole = testing_support::ReadAll(dir / c.name);
    dir.Write(c.name, whole.substr(0, whole.size() * 2 / 3));
    EXPECT_EQ(Render(dir / c.name, dir / "out.jpg"), VANTLE_DAMAGED);
  }
  const std::string palette = testing_pictures::PaletteTiffWithItsColourMapLast();
  dir.Write("palette.tif", palette);
  EXPECT_EQ(Render(dir / "palette.tif", dir / "palette.jpg"), VANTLE_DONE);
  dir.Write("palette.tif", palette.substr(0, palette.size() - 100));  // inside its colour map
  EXPECT_EQ(Render(dir / "palette.tif", dir / "out.jpg"), VANTLE_DAMAGED) << "not a grey one";
  dir.Write("words.png", "no picture at all");
  EXPECT_EQ(Render(dir / "words.png", dir / "out.jpg"), VANTLE_NOT_JPEG);
  EXPECT_FALSE(std::filesystem::exists(dir / "out.jpg"));
}

// A header claiming an absurd size is refused before any pixel is decoded, in every format.
TEST(PictureFormats, AbsurdSizesAreRefusedAsTooLarge) {
  TempDir dir;
  ASSERT_TRUE(testing_pictures::WritePicture(dir / "a.gif", {Format::kGif}));
  ASSERT_TRUE(testing_pictures::WritePicture(dir / "a.bmp", {Format::kBmp}));
  std::string gif = testing_support::ReadAll(dir / "a.gif");
  std::string bmp = testing_support::ReadAll(dir / "a.bmp");
  gif.replace(6, 4, "\xFF\xFF\xFF\xFF");
  bmp.replace(18, 8, std::string("\xFF\xFF\0\0\xFF\xFF\0\0", 8));
  dir.Write("huge.png", testing_pictures::PngHeaderClaiming(65535, 65535));
  dir.Write("huge.gif", gif);
  dir.Write("huge.bmp", bmp);
  for (const char* name : {"huge.png", "huge.gif", "huge.bmp"}) {
    vantle_failure failure{};
    EXPECT_EQ(Render(dir / name, dir / "out.jpg", VANTLE_EVERY_FORMAT, &failure), VANTLE_TOO_LARGE)
        << name;
    EXPECT_EQ(failure.width, 65535) << name;
  }
  ASSERT_TRUE(testing_pictures::WritePicture(dir / "a.png", {Format::kPng, 1000, 1000}));
  EXPECT_GE(sjpeg_weigh((dir / "a.png").c_str(), 0).memory, size_t{1000} * 1000 * 4)
      << "the decoder's own pixels are counted";
}

// The peak memory of a child process that renders `in`, in MiB, and its result.
std::pair<long, int> RenderAlone(const std::string& in, const std::string& out) {
  const pid_t child = fork();
  if (child == 0) _exit(Render(in, out));
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  return {usage.ru_maxrss / 1024, WEXITSTATUS(status)};
}

// Pictures whose few bytes inflate to gigabytes: a PNG's compressed texts are not inflated
// (exiv2 reads the texts), and a HEIF grid's tiles are weighed before any is decoded.
TEST(PictureFormats, PicturesThatInflateAreWeighedBeforeTheyAreDecoded) {
  TempDir dir;
  ASSERT_TRUE(testing_pictures::WritePicture(dir / "a.png", {Format::kPng}));
  dir.Write("texts.png", testing_pictures::WithInflatingTexts(
                             testing_support::ReadAll(dir / "a.png"), 20, size_t{30} << 20));
  // Against a plain picture's, which a sanitizer's own memory raises.
  const long plain_memory = RenderAlone(dir / "a.png", dir / "plain.jpg").first;
  const auto [texts_memory, texts] = RenderAlone(dir / "texts.png", dir / "out.jpg");
  EXPECT_EQ(texts, VANTLE_DONE);
  EXPECT_LT(texts_memory, plain_memory + 64) << "MiB for 600 MB of texts";
  // 400 tiles of 512 x 512 below a grid that claims 512 x 512 (made with heif-enc)
  const auto [grid_memory, grid] = RenderAlone(
      std::string(LUMVANE_SOURCE_DIR) + "/tests/imagelib/grid_bomb.heic", dir / "g.jpg");
  EXPECT_EQ(grid, VANTLE_TOO_LARGE);
  EXPECT_LT(grid_memory, plain_memory + 64) << "MiB";
}

}  // namespace
