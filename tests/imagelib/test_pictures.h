// SPDX-License-Identifier: GPL-3.0-or-later
// Small pictures of every format but JPEG, written through each format's own library: left
// half red, right half blue (or transparent), for the decoding tests.
#ifndef LUMVANE_TESTS_IMAGELIB_TEST_PICTURES_H_
#define LUMVANE_TESTS_IMAGELIB_TEST_PICTURES_H_

#include <cstdint>
#include <string>
#include <vector>

namespace testing_pictures {

enum class Format {
  kPng,
  kPng16,
  kPngPalette,
  kGif,
  kTiff,
  kTiffCmyk,
  kTiffCmyk16,  // 16 bits a sample
  kTiffFloat,   // RGB in 32-bit floating point, linear light
  kTiffHalf,    // RGB in 16-bit floating point, linear light
  kTiffTwoPages,
  kBmp,
  kWebpLossy,
  kWebpLossless,
  kHeic,
  kAvif
};

struct Picture {
  Format format;
  int width = 64;
  int height = 48;
  int orientation = 1;             // EXIF, TIFF's tag or HEIF's rotation; 1: none written
  bool transparent_right = false;  // the right half transparent (formats with alpha)
  std::vector<uint8_t> icc = {};   // an embedded colour profile (PNG, TIFF)
};

// A 4 x 4 red palette TIFF whose colour map is the last thing in the file, after the pixels.
std::string PaletteTiffWithItsColourMapLast();

// `png` with `chunks` zTXt chunks after its header, each inflating to `inflated` bytes.
std::string WithInflatingTexts(const std::string& png, int chunks, size_t inflated);

// Writes `picture` to `path`; false when the format's library could not.
bool WritePicture(const std::string& path, const Picture& picture);

// The Little CMS `profile` (a cmsHPROFILE) as the bytes of an ICC file; the profile is closed.
std::vector<uint8_t> SavedAndClosed(void* profile);

// A CMYK profile of naive inks (red = (1 - C)(1 - K), ...), as Little CMS builds one;
// `swapped`: cyan and magenta ink trade places, so that no naive conversion can pass for it.
std::vector<uint8_t> CmykProfile(bool swapped);

// The first bytes of a PNG whose header claims width x height, and nothing else.
std::string PngHeaderClaiming(int width, int height);

}  // namespace testing_pictures

#endif  // LUMVANE_TESTS_IMAGELIB_TEST_PICTURES_H_
