// SPDX-License-Identifier: GPL-3.0-or-later
// Colour management: pictures that embed an ICC profile other than sRGB are converted to sRGB,
// the colour space browsers assume for JPEG images without a profile. Thread-safe.
#ifndef LUMVANE_IMAGELIB_COLOUR_H_
#define LUMVANE_IMAGELIB_COLOUR_H_

#include <cstdint>
#include <vector>

#include "imagelib/raster.h"

namespace vantle {

// Converts an RGB `image` from the colour space of `icc` to sRGB. Does nothing (and costs
// nothing) without a profile, for an sRGB profile, for a gray image or a profile that cannot
// be read or does not describe RGB.
void ConvertRgbToSrgb(const std::vector<uint8_t>& icc, Raster* image);

// The chromaticities of an RGB colour space's primaries and white point (CIE xy).
struct Primaries {
  float red_x, red_y, green_x, green_y, blue_x, blue_y, white_x, white_y;
};

// An ICC profile for RGB with `primaries` and sRGB's tone curve, for ConvertRgbToSrgb; empty
// when the primaries describe no colour space.
std::vector<uint8_t> ProfileForPrimaries(const Primaries& primaries);

// A conversion of CMYK rows to sRGB through the picture's CMYK profile.
class CmykToSrgb {
 public:
  // Usable (ok()) only when `icc` is a readable CMYK profile. `inverted`: the rows hold
  // Adobe's inverted CMYK (0 = full ink).
  CmykToSrgb(const std::vector<uint8_t>& icc, bool inverted);
  ~CmykToSrgb();
  CmykToSrgb(const CmykToSrgb&) = delete;
  CmykToSrgb& operator=(const CmykToSrgb&) = delete;

  bool ok() const { return transform_ != nullptr; }
  // Converts `width` pixels. REQUIRES: ok().
  void Row(const uint8_t* cmyk, uint8_t* rgb, int width) const;

 private:
  void* context_ = nullptr;
  void* transform_ = nullptr;
};

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_COLOUR_H_
