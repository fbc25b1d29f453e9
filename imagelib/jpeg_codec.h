// SPDX-License-Identifier: GPL-3.0-or-later
// JPEG decoding at a reduced DCT scale and encoding, over libjpeg-turbo, with an error
// handler that returns failure instead of exiting. Each call is independent (thread-safe).
#ifndef LUMVANE_IMAGELIB_JPEG_CODEC_H_
#define LUMVANE_IMAGELIB_JPEG_CODEC_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "imagelib/coefficient_spill.h"
#include "imagelib/raster.h"
#include "imagelib/vantle.h"

namespace vantle {

struct DecodedJpeg {
  Raster image;              // gray or RGB, stored orientation, FitWithin(full, box)
  Size full;                 // the size of the picture before DCT scaling
  int orientation = 1;       // EXIF orientation 1..8 (1 when absent or unreadable)
  bool not_jpeg = false;     // after a failure: the data is no JPEG at all (rather than damaged)
  bool too_large = false;    // after a failure: decoding it would pass the memory budget
  std::vector<uint8_t> icc;  // the embedded colour profile of an RGB or gray image, if any
  bool coefficients_in_file = false;  // a progressive picture's were kept in a temporary file
};

// The most memory one decode may take: coefficient buffers and the decoded pixels.
inline constexpr size_t kDecodeBudget = size_t{512} << 20;

// Decodes `file` at the smallest DCT scale whose result still covers FitWithin(full, box),
// resampling it to exactly that size row by row as it is decoded (never the whole picture at
// the decoded size in memory).
// CMYK and YCCK (Adobe's inverted form too) become sRGB, through their profile when they
// embed one; grayscale stays gray. An RGB image keeps its colour space (see `icc`).
// Returns false for anything that is not a readable JPEG, for a JPEG whose data ends before
// the image is complete (libjpeg would fill the rest with grey), and for one that would need
// more than kDecodeBudget (`out->full` then holds the size its header claims).
// A progressive picture's coefficients past rule.most_in_memory go to a temporary file.
// REQUIRES: box > 0.
bool DecodeScaled(FILE* file, int box, DecodedJpeg* out,
                  const SpillRule& rule = DefaultSpillRule());

// The weight of DecodeScaled and encoding its result for the picture in `file`, from its header
// alone; both 0 when there is none. A progressive picture holds all its coefficients while it
// is decoded, unless `rule` sends them to a file, and its work is three times its bytes: each
// of its scans passes over every coefficient again.
vantle_weight WeighDecode(FILE* file, int box, const SpillRule& rule = DefaultSpillRule());

// Writes `image` to `file` as a baseline JPEG with optimised Huffman tables, and `comment`
// (when not empty; at most 65,533 bytes) as a comment marker.
bool Encode(const Raster& image, FILE* file, int quality = 85, std::string_view comment = {});

// Reads the first comment marker of the JPEG in `file` into `comment`; false when the file is
// no JPEG or has none before its image data.
bool ReadComment(FILE* file, std::string* comment);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_JPEG_CODEC_H_
