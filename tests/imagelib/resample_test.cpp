// The fixed-point resampler: exact sizes, flat areas kept exactly, edges without ringing
// beyond the byte range, and degenerate shapes.
#include <gtest/gtest.h>

#include "imagelib/raster.h"

namespace vantle {
namespace {

Raster Filled(int width, int height, int channels, uint8_t value) {
  return {width, height, channels,
          std::vector<uint8_t>(static_cast<size_t>(width) * height * channels, value)};
}

TEST(Resample, FlatAreasStayExactlyFlatAtEverySize) {
  for (const Size target :
       {Size{1600, 1067}, Size{7, 3}, Size{1, 1}, Size{2000, 1}, Size{3, 1500}}) {
    Raster out;
    ASSERT_TRUE(Resample(Filled(2250, 1500, 3, 173), target, &out));
    EXPECT_EQ(out.width, target.width);
    EXPECT_EQ(out.height, target.height);
    ASSERT_EQ(out.pixels.size(), size_t{3} * target.width * target.height);
    for (const uint8_t value : out.pixels)
      ASSERT_EQ(value, 173) << target.width << "x" << target.height;
  }
}

TEST(Resample, HardEdgesStayInRangeAndKeepTheirSides) {
  Raster image = Filled(400, 10, 1, 0);
  for (int y = 0; y < 10; ++y) {
    for (int x = 200; x < 400; ++x) image.pixels[y * 400 + x] = 255;
  }
  Raster out;
  ASSERT_TRUE(Resample(image, {150, 4}, &out));
  EXPECT_EQ(out.pixels[0], 0);
  EXPECT_EQ(out.pixels[149], 255) << "clamped, not wrapped, where the filter overshoots";
  EXPECT_LT(out.pixels[70], 10);
  EXPECT_GT(out.pixels[80], 245);
}

TEST(Resample, RefusesEmptyImagesAndTargets) {
  Raster out;
  EXPECT_FALSE(Resample(Raster{}, {10, 10}, &out));
  EXPECT_FALSE(Resample(Filled(10, 10, 3, 1), {0, 5}, &out));
  EXPECT_FALSE(Resample(Filled(10, 10, 4, 1), {5, 5}, &out)) << "only gray and RGB";
  Raster short_pixels = Filled(10, 10, 3, 1);
  short_pixels.pixels.resize(20);
  EXPECT_FALSE(Resample(short_pixels, {5, 5}, &out));
}

}  // namespace
}  // namespace vantle
