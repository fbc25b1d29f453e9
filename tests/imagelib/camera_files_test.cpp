// SPDX-License-Identifier: GPL-3.0-or-later
// What cameras and phones make besides photos: RAW files give their preview or their developed
// sensor data, clips a poster frame and their facts; cut or damaged ones are refused.
#include <cstdlib>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "imagelib/vantle.h"
#include "tests/imagelib/test_jpegs.h"
#include "tests/imagelib/test_raw.h"
#include "tests/support/temp_dir.h"

namespace {

using testing_support::TempDir;

bool Red(testing_jpegs::Rgb p) {
  return p.r > 140 && p.g < 100 && p.b < 100;
}
bool Blue(testing_jpegs::Rgb p) {
  return p.b > 140 && p.r < 100 && p.g < 100;
}

struct Made {
  int code;
  vantle::Raster image;
};

Made Render(const std::string& in, const std::string& out) {
  const int code = sjpeg_noted(in.c_str(), out.c_str(), 0, nullptr, VANTLE_EVERY_FORMAT, nullptr);
  return {code, code == VANTLE_DONE ? testing_jpegs::ReadJpeg(out) : vantle::Raster{}};
}

// Made at `size`, turned a quarter clockwise (orientation 6): the red left half is on top.
void ExpectUpright(const Made& made, std::pair<int, int> size) {
  ASSERT_EQ(made.code, VANTLE_DONE);
  EXPECT_EQ(std::make_pair(made.image.width, made.image.height), size);
  EXPECT_TRUE(Red(testing_jpegs::PixelAt(made.image, made.image.width / 2, made.image.height / 4)));
  EXPECT_TRUE(
      Blue(testing_jpegs::PixelAt(made.image, made.image.width / 2, 3 * made.image.height / 4)));
}

TEST(CameraFiles, RawPhotosShowTheirPreviewOrTheirSensorUprightAndCutOnesAreDamaged) {
  TempDir dir;
  testing_jpegs::WriteJpeg(dir / "preview.jpg", {1800, 1200});
  const std::string preview = testing_support::ReadAll(dir / "preview.jpg");
  dir.Write("preview.dng", testing_raw::DngFile(preview, 1800, 1200, 6));
  dir.Write("sensor.dng", testing_raw::DngFile("", 0, 0, 6));
  EXPECT_EQ(vantle_format((dir / "preview.dng").c_str()), VANTLE_FORMAT_RAW);

  ExpectUpright(Render(dir / "preview.dng", dir / "a.jpg"), {1067, 1600});

  // A preview smaller than the display image: the sensor's data, developed at half size.
  ExpectUpright(Render(dir / "sensor.dng", dir / "b.jpg"), {120, 160});

  for (const char* name : {"preview.dng", "sensor.dng"}) {
    const std::string whole = testing_support::ReadAll(dir / name);
    dir.Write(name, whole.substr(0, whole.size() * 3 / 4));
    EXPECT_EQ(Render(dir / name, dir / "c.jpg").code, VANTLE_DAMAGED) << name;
  }
  EXPECT_EQ(sjpeg_noted((dir / "sensor.dng").c_str(), (dir / "c.jpg").c_str(), 0, nullptr,
                        VANTLE_JPEG_ONLY, nullptr),
            VANTLE_NOT_JPEG);
}

void Ffmpeg(const std::string& arguments) {
  ASSERT_EQ(std::system(("ffmpeg -loglevel error -y " + arguments).c_str()), 0) << arguments;
}

TEST(CameraFiles, ClipsGiveAnUprightPosterThatIsNotBlackAndTheirFacts) {
  TempDir dir;
  // Three seconds of red over blue in H.264 and AAC, turned by its display matrix as a phone's.
  Ffmpeg(
      "-f lavfi -i color=red:size=160x240:rate=10:duration=3 -f lavfi -i "
      "color=blue:size=160x240:rate=10:duration=3 -f lavfi -i sine=duration=3 -filter_complex "
      "[0][1]hstack -c:v libx264 -pix_fmt yuv420p -c:a aac -metadata "
      "title=Beach " +
      std::string(dir / "flat.mp4"));
  Ffmpeg("-i " + std::string(dir / "flat.mp4") +
         " -c copy -metadata creation_time=2024-07-14T09:30:00Z -metadata:s:v:0 rotate=-90 " +
         std::string(dir / "phone.mov"));
  // VP9 in WebM that starts black for a second and a half.
  Ffmpeg(
      "-f lavfi -i color=black:size=320x240:rate=10:duration=1.5 -f lavfi -i "
      "color=red:size=320x240:rate=10:duration=1.5 -filter_complex concat=n=2:v=1 -c:v "
      "libvpx-vp9 -b:v 200k " +
      std::string(dir / "dark.webm"));

  EXPECT_EQ(vantle_format((dir / "phone.mov").c_str()), VANTLE_FORMAT_CLIP);
  ExpectUpright(Render(dir / "phone.mov", dir / "a.jpg"), {240, 320});
  vantle_clip facts{};
  ASSERT_EQ(vantle_clip_facts((dir / "phone.mov").c_str(), &facts), 0);
  EXPECT_NEAR(facts.seconds, 3.0, 0.1);
  EXPECT_STREQ(facts.video, "h264");
  EXPECT_STREQ(facts.audio, "aac");
  EXPECT_STREQ(facts.title, "Beach");
  EXPECT_EQ(std::string(facts.created).substr(0, 19), "2024-07-14T09:30:00");
  EXPECT_EQ(facts.width, 240);

  const Made dark = Render(dir / "dark.webm", dir / "b.jpg");
  ASSERT_EQ(dark.code, VANTLE_DONE);
  EXPECT_TRUE(Red(testing_jpegs::PixelAt(dark.image, 160, 120))) << "the first frame not black";
  ASSERT_EQ(vantle_clip_facts((dir / "dark.webm").c_str(), &facts), 0);
  EXPECT_STREQ(facts.video, "vp9");

  // Its thumbnail carries a play mark: light in the middle, its length dark behind.
  ASSERT_EQ(sjpeg_clip_thumb((dir / "b.jpg").c_str(), (dir / "t.jpg").c_str(), 96, nullptr, "0:03",
                             nullptr),
            VANTLE_DONE);
  const vantle::Raster thumb = testing_jpegs::ReadJpeg(dir / "t.jpg");
  EXPECT_GT(testing_jpegs::PixelAt(thumb, thumb.width / 2, thumb.height / 2).g, 180);
  EXPECT_LT(testing_jpegs::PixelAt(thumb, thumb.width - 5, thumb.height - 5).r, 150);

  // Cut before its index (written last), or nothing but a header: damaged, never a picture.
  const std::string whole = testing_support::ReadAll(dir / "flat.mp4");
  dir.Write("cut.mp4", whole.substr(0, whole.size() / 2));
  dir.Write("junk.mp4", whole.substr(0, 32) + std::string(4000, 'x'));
  for (const char* name : {"cut.mp4", "junk.mp4"}) {
    EXPECT_EQ(Render(dir / name, dir / "c.jpg").code, VANTLE_DAMAGED) << name;
    EXPECT_EQ(vantle_clip_facts((dir / name).c_str(), &facts), -1) << name;
  }
}

}  // namespace
