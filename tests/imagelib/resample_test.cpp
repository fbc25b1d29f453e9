// SPDX-License-Identifier: GPL-3.0-or-later
// The fixed-point resampler: exact sizes, flat areas kept exactly, agreement with the same
// filter in floating point, and degenerate shapes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

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

double MitchellAt(double x) {
  x = std::fabs(x);
  if (x < 1) return (7 * x * x * x - 12 * x * x + 16.0 / 3) / 6;
  if (x < 2) return (-7.0 / 3 * x * x * x + 12 * x * x - 20 * x + 32.0 / 3) / 6;
  return 0;
}

// The weights of every source position for output position `o`, in doubles.
std::vector<double> ReferenceWeights(int o, int in_size, int out_size) {
  const double scale = static_cast<double>(in_size) / out_size;
  const double stretch = std::max(1.0, scale), center = (o + 0.5) * scale;
  std::vector<double> w(in_size, 0.0);
  if (in_size == out_size) {  // an axis that keeps its size is not filtered
    w[o] = 1;
    return w;
  }
  double sum = 0;
  for (int i = 0; i < in_size; ++i) {
    if (i < std::floor(center - 2 * stretch)) continue;
    sum += w[i] = MitchellAt((i + 0.5 - center) / stretch);
  }
  for (double& weight : w) weight /= sum;
  return w;
}

// The same filter in floating point, both axes at once, for comparison.
uint8_t ReferencePixel(const Raster& in, Size target, int x, int y, int c) {
  const std::vector<double> across = ReferenceWeights(x, in.width, target.width);
  const std::vector<double> down = ReferenceWeights(y, in.height, target.height);
  double sum = 0;  // down the columns first, each clamped to a byte, then along the row
  for (int i = 0; i < in.width; ++i) {
    if (across[i] == 0) continue;
    double column = 0;
    for (int j = 0; j < in.height; ++j)
      column += down[j] * in.pixels[(static_cast<size_t>(j) * in.width + i) * in.channels + c];
    sum += across[i] * std::clamp(std::round(column), 0.0, 255.0);
  }
  return static_cast<uint8_t>(std::clamp(std::lround(sum), 0L, 255L));
}

// Noise (the hardest case for the filter) through odd and even tap counts, shrinking a little
// and a lot, both channel counts and an axis that keeps its size.
TEST(Resample, AgreesWithAFloatingPointFilterEverywhereIncludingTheEdges) {
  std::mt19937 random(7);
  for (const int channels : {3, 1}) {
    for (const Size shape : {Size{37, 23}, Size{50, 9}, Size{23, 40}}) {
      Raster image{shape.width, shape.height, channels,
                   std::vector<uint8_t>(size_t{1} * shape.width * shape.height * channels)};
      for (uint8_t& value : image.pixels) value = static_cast<uint8_t>(random());
      for (const Size target : {Size{29, 19}, Size{9, 4}, Size{shape.width, 7}, Size{5, 1}}) {
        Raster out;
        ASSERT_TRUE(Resample(image, target, &out));
        for (int y = 0; y < target.height; ++y) {
          for (int x = 0; x < target.width; ++x) {
            for (int c = 0; c < channels; ++c) {
              const int got =
                  out.pixels[(static_cast<size_t>(y) * target.width + x) * channels + c];
              const int want = ReferencePixel(image, target, x, y, c);
              ASSERT_LE(std::abs(got - want), 1)
                  << channels << " channels " << shape.width << "x" << shape.height << " to "
                  << target.width << "x" << target.height << " at " << x << "," << y;
            }
          }
        }
      }
    }
  }
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
