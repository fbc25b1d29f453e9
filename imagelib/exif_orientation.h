// SPDX-License-Identifier: GPL-3.0-or-later
// The orientation an EXIF block gives a picture.
#ifndef LUMVANE_IMAGELIB_EXIF_ORIENTATION_H_
#define LUMVANE_IMAGELIB_EXIF_ORIENTATION_H_

#include <cstddef>
#include <cstdint>

namespace vantle {

// The orientation 1..8 of the EXIF block `data` (starting with "Exif\0\0" as in JPEG, or with
// the TIFF header itself as in PNG and WebP); 1 when it has none or cannot be read.
int ExifOrientation(const uint8_t* data, size_t length);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_EXIF_ORIENTATION_H_
