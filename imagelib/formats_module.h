// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of every format but JPEG are read by a module of their own, libvantle_formats.so
// beside libvantle, loaded with the first such picture: their libraries (libheif with its HEVC
// and AV1 coders, libtiff, libwebp, giflib, libpng, FFmpeg's for clips and LibRaw for RAW
// photos) would otherwise be mapped into every run, many megabytes that a run of JPEG pictures
// never uses. Thread-safe.
#ifndef LUMVANE_IMAGELIB_FORMATS_MODULE_H_
#define LUMVANE_IMAGELIB_FORMATS_MODULE_H_

#include <cstddef>
#include <cstdio>

#include "imagelib/picture_format.h"
#include "imagelib/whole_decode.h"

namespace vantle {

// Whether the module could be loaded.
bool OtherFormatsAvailable();

// DecodeWhole, ReadHeifBlocks and ReadClipFacts of whole_decode.h, through the module; false
// when it cannot be loaded (from the folder this library was loaded from, else the library
// search path).
bool DecodeOtherFormat(FILE* file, PictureFormat format, WholePicture* out);
bool ReadHeifBlocksOf(FILE* file, size_t limit, HeifBlocks* blocks);
bool ReadClipFactsOf(FILE* file, ClipFacts* facts);

// TellFormat and WholeBytes of whole_decode.h, through the module; `sniffed` and 0 when it
// cannot be loaded.
PictureFormat TellOtherFormat(FILE* file, PictureFormat sniffed);
size_t OtherFormatMemory(FILE* file, PictureFormat format, int box);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_FORMATS_MODULE_H_
