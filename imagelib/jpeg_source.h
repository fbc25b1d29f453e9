// SPDX-License-Identifier: GPL-3.0-or-later
// libjpeg's stdio source reads its file 4 KiB at a time, a system call each: 1,000 for a 4 MB
// photo. This source reads 64 KiB at a time and otherwise behaves as that one does: an empty
// file is JERR_INPUT_EMPTY, and data that ends early warns JWRN_JPEG_EOF and reads as an
// end-of-image marker.
#ifndef LUMVANE_IMAGELIB_JPEG_SOURCE_H_
#define LUMVANE_IMAGELIB_JPEG_SOURCE_H_

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace vantle {

// Makes `info` read `file` from its current position; the buffer lives in libjpeg's permanent
// pool and goes with `info`. REQUIRES: jpeg_create_decompress(info) was called.
void ReadInChunks(j_decompress_ptr info, FILE* file);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_JPEG_SOURCE_H_
