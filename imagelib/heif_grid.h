// SPDX-License-Identifier: GPL-3.0-or-later
// What the tiles of a HEIF file's primary image hold, read from the file's boxes before any
// decoding: a grid image may claim a small size and name thousands of large tiles, all of
// which the decoder would decode.
#ifndef LUMVANE_IMAGELIB_HEIF_GRID_H_
#define LUMVANE_IMAGELIB_HEIF_GRID_H_

#include <cstddef>
#include <cstdint>

namespace vantle {

struct GridWeight {
  size_t tiles = 0;                  // 0: the primary image is no grid (or the boxes are unread)
  uint64_t pixels = 0;               // of all its tiles together
  uint32_t widest = 0, tallest = 0;  // the largest tile's sides
};

// Weighs the grid of the primary image in `bytes`, a whole HEIF file. Trusts nothing: boxes
// that do not fit their parent end the reading.
GridWeight WeighPrimaryGrid(const uint8_t* bytes, size_t size);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_HEIF_GRID_H_
