// SPDX-License-Identifier: GPL-3.0-or-later
// A clip's record: its length, whether browsers play it, when it was made, its tags.
#include "processing/clip_facts.h"

#include <cstdlib>
#include <cstring>
#include <ctime>

#include <gtest/gtest.h>

#include "processing/clip_preview.h"
#include "processing/naming.h"
#include "tests/support/pictures.h"
#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

vantle_clip Clip(const char* container, const char* video, const char* audio) {
  vantle_clip clip{};
  std::strcpy(clip.container, container);
  std::strcpy(clip.video, video);
  std::strcpy(clip.audio, audio);
  return clip;
}

TEST(ClipFacts, LengthsPlayabilityAndTimesAsTheRecordGivesThem) {
  EXPECT_EQ(DurationText(3.2), "0:03");
  EXPECT_EQ(DurationText(0.2), "0:01") << "a short clip has a length";
  EXPECT_EQ(DurationText(759.6), "12:40");
  EXPECT_EQ(DurationText(3723), "1:02:03");
  EXPECT_EQ(DurationText(0), "");

  const char* iso = "mov,mp4,m4a,3gp,3g2,mj2";
  EXPECT_TRUE(PlaysInBrowsers(Clip(iso, "h264", "aac")));
  EXPECT_TRUE(PlaysInBrowsers(Clip("matroska,webm", "vp9", "opus")));
  EXPECT_FALSE(PlaysInBrowsers(Clip(iso, "hevc", "aac"))) << "a phone's HEVC";
  EXPECT_FALSE(PlaysInBrowsers(Clip("mpegts", "h264", "ac3"))) << "AVCHD";
  EXPECT_FALSE(PlaysInBrowsers(Clip(iso, "h264", "pcm_s16le")));

  const std::string zone = std::getenv("TZ") ? std::getenv("TZ") : "";
  setenv("TZ", "JST-9", 1);  // nine hours east of Greenwich
  tzset();
  const auto local = ClipMade("2024-07-14T11:30:05+0200");
  const auto utc = ClipMade("2024-07-14T09:30:00.000000Z");
  zone.empty() ? unsetenv("TZ") : setenv("TZ", zone.c_str(), 1);
  tzset();
  ASSERT_TRUE(local && utc);
  EXPECT_EQ(FormatStamp(*local), "20240714113005") << "QuickTime's local time taken as it is";
  EXPECT_EQ(FormatStamp(*utc), "20240714183000");
  EXPECT_FALSE(ClipMade("1904-13-01T00:00:00Z"));
  EXPECT_FALSE(ClipMade("yesterday"));
}

TEST(ClipFacts, AClipIsArchivedWithItsTagsDateLengthAndAMarkedThumbnail) {
  testing_support::TempDir source, dest;
  ASSERT_TRUE(testing_support::MakeClip(
      "-f lavfi -i color=gray:size=320x240:rate=10:duration=3 -c:v libx264 -pix_fmt yuv420p "
      "-metadata title=Beach -metadata comment=Waves -metadata creation_time=2024-07-14T12:00:00Z",
      source / "MVI_0001.MP4"));
  PictureInput input;
  input.source = source / "MVI_0001.MP4";
  input.native_path = input.read_embedded = true;
  const PictureResult result =
      ProcessPicture(input, PictureTarget{dest.path(), std::nullopt, CopyMode::kRename});
  ASSERT_TRUE(result.archived()) << result.PassOverText();
  EXPECT_EQ(result.format, "video");
  EXPECT_EQ(result.record.title, "Beach");
  EXPECT_EQ(result.record.comment, "Waves");
  EXPECT_EQ(result.record.picdate, "July 14, 2024");
  EXPECT_EQ(result.record.source, "MVI_0001.mp4");
  EXPECT_NE(result.record.details.find("clip=0:03\nvideo=h264\nplayable=1\npixels=320 x 240"),
            std::string::npos)
      << result.record.details;
  EXPECT_NE(result.record.details.find("original=_" + result.record.thumb.substr(1, 6)),
            std::string::npos);
  EXPECT_TRUE(result.record.details.find(".mp4\n") != std::string::npos) << "its own extension";
  const vantle::Raster thumb = testing_jpegs::ReadJpeg(dest / result.record.thumb);
  EXPECT_GT(testing_jpegs::PixelAt(thumb, thumb.width / 2, thumb.height / 2).r, 200)
      << "the play mark over the gray";
}

// A clip browsers cannot play gets a web copy they can, which no later scan takes for a clip;
// without the ffmpeg program the run says so.
TEST(ClipFacts, ClipPreviewsArePlayableCopiesOfClipsBrowsersCannotPlay) {
  testing_support::TempDir source, dest;
  ASSERT_TRUE(testing_support::MakeClip(
      "-f lavfi -i color=gray:size=128x96:rate=10:duration=1 -c:v libx265 -x265-params log-level=0",
      source / "IMG_5.MOV"));
  PictureInput input;
  input.source = source / "IMG_5.MOV";
  PictureTarget target{dest.path(), std::nullopt, CopyMode::kNone};
  target.clip_previews = true;
  const PictureResult result = ProcessPicture(input, target);
  ASSERT_TRUE(result.archived());
  EXPECT_EQ(result.copy_problem, "");
  const std::string preview =
      ClipPreviewName(NamesForCode(result.record.thumb.substr(1, 7))->display);
  EXPECT_NE(result.record.details.find("\npreview=" + preview), std::string::npos)
      << result.record.details;
  vantle_clip facts{};
  ASSERT_EQ(vantle_clip_facts((dest / preview).c_str(), &facts), 0);
  EXPECT_TRUE(PlaysInBrowsers(facts));
  EXPECT_FALSE(IsOriginalPicture(dest.path(), preview));

  const std::string path = std::getenv("PATH");
  setenv("PATH", "/nonexistent", 1);
  testing_support::TempDir other;
  target.dest_dir = other.path();
  const PictureResult without = ProcessPicture(input, target);
  setenv("PATH", path.c_str(), 1);
  EXPECT_NE(without.copy_problem.find("ffmpeg program is not installed"), std::string::npos)
      << without.copy_problem;
  EXPECT_EQ(without.record.details.find("preview="), std::string::npos);
}

// A live photo's clip goes with its still: copied beside it under the still's name, or named
// beside the original when nothing is copied.
TEST(ClipFacts, ALivePhotosClipIsCopiedAndNamedWithItsStill) {
  testing_support::TempDir source, dest, uncopied;
  testing_support::WritePhoto(source / "IMG_2.JPG");
  ASSERT_TRUE(testing_support::MakeClip(
      "-f lavfi -i color=gray:size=64x48:rate=10:duration=1 -c:v libx264", source / "IMG_2.MOV"));
  PictureInput input;
  input.source = source / "IMG_2.JPG";
  input.companion = source / "IMG_2.MOV";
  const PictureResult copied =
      ProcessPicture(input, PictureTarget{dest.path(), std::nullopt, CopyMode::kRename});
  ASSERT_TRUE(copied.archived());
  const size_t original = copied.record.details.find("original=") + 9;
  const std::string copy =
      copied.record.details.substr(original, 8) + ".mov";  // the still's copy's name
  EXPECT_NE(copied.record.details.find("live=" + copy), std::string::npos) << copied.record.details;
  EXPECT_EQ(testing_support::ReadAll(dest / copy), testing_support::ReadAll(source / "IMG_2.MOV"));
  const PictureResult named =
      ProcessPicture(input, PictureTarget{uncopied.path(), std::nullopt, CopyMode::kNone});
  EXPECT_NE(named.record.details.find("live_file=IMG_2.MOV"), std::string::npos);
}

}  // namespace
}  // namespace lumvane
