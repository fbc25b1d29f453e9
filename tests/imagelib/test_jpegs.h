// SPDX-License-Identifier: GPL-3.0-or-later
// Generated JPEG files for the image tests: sizes, colour spaces, orientations.
#ifndef LUMVANE_TESTS_IMAGELIB_TEST_JPEGS_H_
#define LUMVANE_TESTS_IMAGELIB_TEST_JPEGS_H_

#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/raster.h"

namespace testing_jpegs {

enum class Kind { kRgb, kGray, kCmykAdobe, kYcck, kProgressive };

struct Spec {
  int width = 64;
  int height = 48;
  Kind kind = Kind::kRgb;
  int orientation = 0;  // 0: no EXIF block
  int flat_rgb = -1;    // 0xRRGGBB: that colour all over (RGB kinds) instead of two halves
  std::vector<uint8_t> icc = {};  // an embedded colour profile, when not empty
  bool noise = false;             // random pixels (RGB kinds) instead of two halves
};

// Writes a picture whose left half is red and right half blue (gray: dark and light), or noise.
void WriteJpeg(const std::string& path, const Spec& spec);

// Writes a picture of random pixels: large when compressed, for filling a small disk.
void WriteNoiseJpeg(const std::string& path, int width, int height);

// Decodes a JPEG at full size; fails the test when it cannot.
vantle::Raster ReadJpeg(const std::string& path);

// The pixel at (x, y) as {r, g, b} (gray repeated).
struct Rgb {
  int r, g, b;
};
Rgb PixelAt(const vantle::Raster& image, int x, int y);

}  // namespace testing_jpegs

#endif  // LUMVANE_TESTS_IMAGELIB_TEST_JPEGS_H_
