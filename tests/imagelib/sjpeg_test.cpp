// SPDX-License-Identifier: GPL-3.0-or-later
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <new>

#include <gtest/gtest.h>
#include <lcms2.h>

#include "imagelib/jpeg_codec.h"
#include "imagelib/vantle.h"
#include "tests/imagelib/test_jpegs.h"
#include "tests/imagelib/test_pictures.h"
#include "tests/support/small_disk.h"
#include "tests/support/temp_dir.h"

namespace {

// Armed with a count, operator new fails once that many allocations have been made: memory
// running out part way through a picture.
std::atomic<int> allocations_before_failure{-1};

}  // namespace

void* operator new(std::size_t size) {
  if (allocations_before_failure.load() == 0) throw std::bad_alloc();
  if (allocations_before_failure.load() > 0) --allocations_before_failure;
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}
// Pairs with the operator new above, which takes its memory from malloc.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace {

using testing_jpegs::Kind;
using testing_jpegs::PixelAt;
using testing_jpegs::ReadJpeg;
using testing_jpegs::Spec;
using testing_jpegs::WriteJpeg;
using testing_support::TempDir;

struct Dimensions {
  int width, height;
  bool operator==(const Dimensions&) const = default;
};

Dimensions SizeOf(const std::string& path) {
  const vantle::Raster image = ReadJpeg(path);
  return {image.width, image.height};
}

bool IsRed(testing_jpegs::Rgb p) {
  return p.r > 150 && p.g < 90 && p.b < 90;
}
bool IsBlue(testing_jpegs::Rgb p) {
  return p.b > 150 && p.r < 90 && p.g < 90;
}

class Sjpeg : public testing::Test {
 protected:
  std::string Make(const std::string& name, const Spec& spec) {
    WriteJpeg(dir / name, spec);
    return dir / name;
  }
  TempDir dir;
};

// Display images (size 0) fit within 1600, thumbnails within twice their size; neither is
// ever enlarged.
TEST_F(Sjpeg, OutputsFitTheirBoxKeepingProportionsAndAreNeverEnlarged) {
  const struct {
    Spec in;
    int size;
    Dimensions out;
  } cases[] = {{{4000, 3000}, 0, {1600, 1200}},
               {{1501, 2000}, 0, {1201, 1600}},
               {{640, 480}, 0, {640, 480}},
               {{1600, 1200}, 96, {192, 144}},
               {{900, 1600}, 96, {108, 192}},
               {{50, 40}, 96, {50, 40}},
               {{3000, 2000, Kind::kProgressive}, 0, {1600, 1067}}};
  for (const auto& c : cases) {
    ASSERT_EQ(sjpeg(Make("in.jpg", c.in).c_str(), (dir / "out.jpg").c_str(), c.size), 0);
    EXPECT_EQ(SizeOf(dir / "out.jpg"), c.out) << c.in.width << "x" << c.in.height;
  }
}

TEST_F(Sjpeg, ExifOrientationIsAppliedAndNoTagIsLeft) {
  // Left half red, right half blue, stored 400 x 200.
  ASSERT_EQ(sjpeg(Make("o6.jpg", {400, 200, Kind::kRgb, 6}).c_str(), (dir / "r6.jpg").c_str(), 0),
            0);
  vantle::Raster six = ReadJpeg(dir / "r6.jpg");
  ASSERT_EQ(six.width, 200);
  ASSERT_EQ(six.height, 400);
  EXPECT_TRUE(IsRed(PixelAt(six, 100, 20))) << "rotated clockwise: the left edge is on top";
  EXPECT_TRUE(IsBlue(PixelAt(six, 100, 380)));
  EXPECT_EQ(testing_support::ReadAll(dir / "r6.jpg").find("Exif"), std::string::npos);

  ASSERT_EQ(sjpeg(Make("o8.jpg", {400, 200, Kind::kRgb, 8}).c_str(), (dir / "r8.jpg").c_str(), 0),
            0);
  vantle::Raster eight = ReadJpeg(dir / "r8.jpg");
  ASSERT_EQ(eight.width, 200);
  EXPECT_TRUE(IsBlue(PixelAt(eight, 100, 20))) << "rotated anticlockwise: the left edge is below";
  EXPECT_TRUE(IsRed(PixelAt(eight, 100, 380)));
}

// Adobe's CMYK (inverted, with or without its profile) and YCCK become RGB; gray stays gray.
TEST_F(Sjpeg, CmykAndYcckBecomeRgbAndGrayStaysGray) {
  const std::vector<uint8_t> profile = testing_pictures::CmykProfile(false);
  ASSERT_FALSE(profile.empty());
  for (const Spec& spec : {Spec{200, 100, Kind::kCmykAdobe}, Spec{200, 100, Kind::kYcck},
                           Spec{200, 100, Kind::kCmykAdobe, 0, -1, profile}}) {
    ASSERT_EQ(sjpeg(Make("c.jpg", spec).c_str(), (dir / "c-out.jpg").c_str(), 0), 0);
    vantle::Raster rgb = ReadJpeg(dir / "c-out.jpg");
    EXPECT_EQ(rgb.channels, 3);
    EXPECT_TRUE(IsRed(PixelAt(rgb, 20, 50)));                // magenta + yellow ink
    const testing_jpegs::Rgb right = PixelAt(rgb, 180, 50);  // cyan ink only
    EXPECT_LT(right.r, 60);
    EXPECT_GT(right.g + right.b, 400);
  }
  ASSERT_EQ(sjpeg(Make("g.jpg", {200, 100, Kind::kGray}).c_str(), (dir / "g-out.jpg").c_str(), 0),
            0);
  EXPECT_EQ(ReadJpeg(dir / "g-out.jpg").channels, 1);
}

// `jpeg` with the size in its frame header (baseline or progressive) changed to the given one.
std::string WithClaimedSize(std::string jpeg, int width, int height) {
  for (size_t i = 0; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) != 0xFF || (marker != 0xC0 && marker != 0xC2)) continue;
    jpeg[i + 5] = static_cast<char>(height >> 8), jpeg[i + 6] = static_cast<char>(height);
    jpeg[i + 7] = static_cast<char>(width >> 8), jpeg[i + 8] = static_cast<char>(width);
    return jpeg;
  }
  ADD_FAILURE() << "no frame header";
  return jpeg;
}

int Why(const std::string& in, const std::string& out, vantle_failure* failure = nullptr) {
  return sjpeg_why(in.c_str(), out.c_str(), 0, failure);
}

TEST_F(Sjpeg, WhyItFailedNamesTheCause) {
  const std::string whole = testing_support::ReadAll(Make("good.jpg", {800, 600}));
  dir.Write("text.jpg", "not a picture");
  dir.Write("cut.jpg", whole.substr(0, whole.size() / 2));
  dir.Write("cut-with-end.jpg", whole.substr(0, whole.size() / 2) + "\xFF\xD9");
  dir.Write("taller.jpg", WithClaimedSize(whole, 800, 1200));
  const std::string scans = testing_support::ReadAll(Make("p.jpg", {800, 600, Kind::kProgressive}));
  dir.Write("between-scans.jpg", scans.substr(0, scans.rfind("\xFF\xDA")));
  const std::string out = dir / "out.jpg";
  EXPECT_EQ(Why(dir / "good.jpg", out), VANTLE_DONE);
  std::filesystem::remove(out);
  EXPECT_EQ(Why(dir / "text.jpg", out), VANTLE_NOT_JPEG);
  EXPECT_EQ(Why(dir / "cut.jpg", out), VANTLE_DAMAGED);
  EXPECT_EQ(Why(dir / "cut-with-end.jpg", out), VANTLE_DAMAGED) << "no grey lower part";
  EXPECT_EQ(Why(dir / "taller.jpg", out), VANTLE_DAMAGED) << "more lines claimed than held";
  EXPECT_EQ(Why(dir / "between-scans.jpg", out), VANTLE_DAMAGED) << "no blurred picture";
  dir.Write("empty.jpg", "");
  EXPECT_EQ(Why(dir / "empty.jpg", out), VANTLE_NOT_JPEG);
  vantle_failure failure{};
  EXPECT_EQ(Why(dir / "missing.jpg", out, &failure), VANTLE_CANNOT_OPEN);
  EXPECT_EQ(failure.system_error, ENOENT);
  EXPECT_FALSE(std::filesystem::exists(out)) << "a failure leaves nothing behind";
  EXPECT_EQ(sjpeg(nullptr, out.c_str(), 0), 1);
  EXPECT_EQ(sjpeg((dir / "good.jpg").c_str(), out.c_str(), -1), 1);
}

TEST_F(Sjpeg, HeaderClaimingAHugeProgressiveImageIsRefusedBeforeItsDataIsRead) {
  const std::string small = testing_support::ReadAll(Make("p.jpg", {64, 48, Kind::kProgressive}));
  dir.Write("bomb.jpg", WithClaimedSize(small, 65500, 65500));
  vantle_failure failure{};
  EXPECT_EQ(Why(dir / "bomb.jpg", dir / "out.jpg", &failure), VANTLE_TOO_LARGE);
  EXPECT_EQ(failure.width, 65500);
  EXPECT_EQ(failure.height, 65500);
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  EXPECT_LT(usage.ru_maxrss, 400 * 1024) << "kilobytes: no whole-image buffer was allocated";
  const std::string baseline = testing_support::ReadAll(Make("b.jpg", {64, 48}));
  dir.Write("wide.jpg", WithClaimedSize(baseline, 65500, 65500));
  EXPECT_NE(Why(dir / "wide.jpg", dir / "out.jpg"), VANTLE_DONE);
}

vantle::DecodedJpeg DecodedUnder(const std::string& path, int box, const vantle::SpillRule& rule) {
  FILE* file = std::fopen(path.c_str(), "rb");
  vantle::DecodedJpeg decoded;
  EXPECT_TRUE(vantle::DecodeScaled(file, box, &decoded, rule)) << path;
  std::fclose(file);
  return decoded;
}

size_t BytesNeededUnder(const std::string& path, const vantle::SpillRule& rule) {
  FILE* file = std::fopen(path.c_str(), "rb");
  const size_t bytes = vantle::WeighDecode(file, 400, rule).memory;
  std::fclose(file);
  return bytes;
}

// A progressive picture's coefficients kept in a temporary file, a window of rows at a time,
// give the same pixels as kept in memory; without a place for the file they stay in memory.
TEST_F(Sjpeg, ProgressiveCoefficientsInATemporaryFileGiveTheSamePicture) {
  // Its luma coefficients (3.8 MB) are more than a window: the window moves down and back.
  const std::string photo =
      Make("p.jpg", {.width = 1600, .height = 1200, .kind = Kind::kProgressive, .noise = true});
  const std::string tmp = dir / "tmp";
  std::filesystem::create_directory(tmp);
  for (const int box : {1600, 400}) {
    const vantle::DecodedJpeg kept = DecodedUnder(photo, box, {SIZE_MAX, tmp});
    const vantle::DecodedJpeg spilled = DecodedUnder(photo, box, {0, tmp});
    EXPECT_FALSE(kept.coefficients_in_file);
    EXPECT_TRUE(spilled.coefficients_in_file);
    EXPECT_TRUE(spilled.image.pixels == kept.image.pixels) << box;
    const vantle::DecodedJpeg nowhere = DecodedUnder(photo, box, {0, dir / "missing"});
    EXPECT_FALSE(nowhere.coefficients_in_file);
    EXPECT_TRUE(nowhere.image.pixels == kept.image.pixels) << box;
  }
  EXPECT_TRUE(std::filesystem::is_empty(tmp)) << "the temporary file is gone";
  EXPECT_LT(BytesNeededUnder(photo, {0, tmp}), BytesNeededUnder(photo, {SIZE_MAX, tmp}));
  const std::string baseline = Make("b.jpg", {1600, 1200});
  EXPECT_EQ(sjpeg_weigh(baseline.c_str(), 0).work, std::filesystem::file_size(baseline));
  EXPECT_EQ(sjpeg_weigh(photo.c_str(), 0).work, 3 * std::filesystem::file_size(photo))
      << "each scan passes over the coefficients again";
  const vantle::Raster reference = DecodedUnder(photo, 1600, {SIZE_MAX, tmp}).image;
  testing_support::SmallDisk full(tmp, 1 << 20);
  const vantle::DecodedJpeg on_full = DecodedUnder(photo, 1600, {0, tmp});
  EXPECT_FALSE(on_full.coefficients_in_file) << "no room for the file: kept in memory";
  EXPECT_TRUE(on_full.image.pixels == reference.pixels);
}

// An Adobe RGB (1998)-like profile: its primaries, D65 white and a 2.2 gamma.
std::vector<uint8_t> AdobeRgbProfile() {
  const cmsCIExyY white = {0.3127, 0.3290, 1.0};
  const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.21, 0.71, 1.0}, {0.15, 0.06, 1.0}};
  cmsToneCurve* gamma = cmsBuildGamma(nullptr, 563.0 / 256.0);
  cmsToneCurve* curves[3] = {gamma, gamma, gamma};
  std::vector<uint8_t> bytes =
      testing_pictures::SavedAndClosed(cmsCreateRGBProfile(&white, &primaries, curves));
  cmsFreeToneCurve(gamma);
  return bytes;
}

// `rgb` of `icc`'s colour space in sRGB, as Little CMS converts it.
testing_jpegs::Rgb InSrgb(const std::vector<uint8_t>& icc, const uint8_t rgb[3]) {
  cmsHPROFILE from = cmsOpenProfileFromMem(icc.data(), static_cast<cmsUInt32Number>(icc.size()));
  cmsHPROFILE srgb = cmsCreate_sRGBProfile();
  cmsHTRANSFORM transform =
      cmsCreateTransform(from, TYPE_RGB_8, srgb, TYPE_RGB_8, INTENT_PERCEPTUAL, 0);
  uint8_t out[3];
  cmsDoTransform(transform, rgb, out, 1);
  cmsDeleteTransform(transform);
  cmsCloseProfile(from);
  cmsCloseProfile(srgb);
  return {out[0], out[1], out[2]};
}

TEST_F(Sjpeg, PicturesInAnotherColourSpaceComeOutInSrgb) {
  const std::vector<uint8_t> adobe = AdobeRgbProfile();
  Make("adobe.jpg", {64, 48, Kind::kRgb, 0, 0xC83C28, adobe});  // 200, 60, 40
  Make("plain.jpg", {64, 48, Kind::kRgb, 0, 0xC83C28});
  ASSERT_EQ(sjpeg((dir / "adobe.jpg").c_str(), (dir / "adobe-out.jpg").c_str(), 0), 0);
  ASSERT_EQ(sjpeg((dir / "plain.jpg").c_str(), (dir / "plain-out.jpg").c_str(), 0), 0);
  const uint8_t red[3] = {200, 60, 40};
  const testing_jpegs::Rgb expected = InSrgb(adobe, red);
  EXPECT_GT(expected.r, 220) << "Adobe RGB's red is more saturated than sRGB's";
  const testing_jpegs::Rgb converted = PixelAt(ReadJpeg(dir / "adobe-out.jpg"), 10, 10);
  EXPECT_NEAR(converted.r, expected.r, 4);
  EXPECT_NEAR(converted.g, expected.g, 4);
  EXPECT_NEAR(converted.b, expected.b, 4);
  const testing_jpegs::Rgb untouched = PixelAt(ReadJpeg(dir / "plain-out.jpg"), 10, 10);
  EXPECT_NEAR(untouched.r, 200, 4) << "no profile: the pixels pass untouched";
  EXPECT_NEAR(untouched.g, 60, 4);
}

TEST_F(Sjpeg, FailuresKeepAnEarlierOutputAndLeaveNothingBehind) {
  const std::string good = Make("good.jpg", {320, 240});
  ASSERT_EQ(sjpeg(good.c_str(), (dir / "out.jpg").c_str(), 0), 0);
  const std::string before = testing_support::ReadAll(dir / "out.jpg");
  dir.Write("bad.jpg", "not a jpeg");
  EXPECT_EQ(sjpeg((dir / "bad.jpg").c_str(), (dir / "out.jpg").c_str(), 0), 1);
  EXPECT_EQ(testing_support::ReadAll(dir / "out.jpg"), before);
  std::filesystem::remove(dir / "bad.jpg");
  std::filesystem::remove(dir / "out.jpg");
  EXPECT_EQ(sjpeg(good.c_str(), (dir / "no-such-folder/out.jpg").c_str(), 0), 1);
  std::filesystem::create_directory(dir / "locked");
  chmod((dir / "locked").c_str(), 0500);
  if (geteuid() != 0) {  // root writes anywhere; the permission case only holds for users
    EXPECT_EQ(sjpeg(good.c_str(), (dir / "locked/out.jpg").c_str(), 0), 1);
  }
  // A folder in the way of the output name: the temporary file is written, the rename fails.
  std::filesystem::create_directory(dir / "in-the-way.jpg");
  EXPECT_EQ(sjpeg(good.c_str(), (dir / "in-the-way.jpg").c_str(), 0), 1);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"good.jpg", "in-the-way.jpg", "locked"}));
}

int OpenDescriptors() {
  return static_cast<int>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                        std::filesystem::directory_iterator()));
}

TEST_F(Sjpeg, MemoryRunningOutReleasesTheFileAndTheDecoder) {
  const std::string good = Make("good.jpg", {320, 240, Kind::kProgressive});
  const std::string out = dir / "out.jpg";
  const int descriptors = OpenDescriptors();
#ifndef __SANITIZE_ADDRESS__  // there LeakSanitizer tells
  const size_t in_use = mallinfo2().uordblks;
#endif
  for (int allocations = 0; allocations < 40; ++allocations) {
    allocations_before_failure = allocations;
    const int made = sjpeg_why(good.c_str(), out.c_str(), 0, nullptr);
    allocations_before_failure = -1;
    EXPECT_TRUE(made == VANTLE_TOO_LARGE || made == VANTLE_DONE) << made;
  }
  EXPECT_EQ(OpenDescriptors(), descriptors);
#ifndef __SANITIZE_ADDRESS__
  EXPECT_LT(mallinfo2().uordblks, in_use + 64 * 1024) << "no decoder left behind";
#endif
}

TEST_F(Sjpeg, OutputsTakeTheUsersUmaskAndCarryTheirNote) {
  const std::string good = Make("good.jpg", {64, 48});
  const mode_t earlier = umask(077);
  const int made = sjpeg_noted(good.c_str(), (dir / "out.jpg").c_str(), 0, "from good.jpg",
                               VANTLE_JPEG_ONLY, nullptr);
  umask(earlier);
  ASSERT_EQ(made, VANTLE_DONE);
  EXPECT_EQ(std::filesystem::status(dir / "out.jpg").permissions(), std::filesystem::perms(0600));
  char note[8];
  EXPECT_EQ(sjpeg_note((dir / "out.jpg").c_str(), note, sizeof note), 7);
  EXPECT_STREQ(note, "from go") << "cut to the room given";
  EXPECT_EQ(sjpeg_note(good.c_str(), note, sizeof note), -1);
}

}  // namespace
