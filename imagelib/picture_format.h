// SPDX-License-Identifier: GPL-3.0-or-later
// What kind of picture a file holds, told by its first bytes alone (never by its name).
#ifndef LUMVANE_IMAGELIB_PICTURE_FORMAT_H_
#define LUMVANE_IMAGELIB_PICTURE_FORMAT_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace vantle {

// The values are those of vantle.h's VANTLE_FORMAT_*.
enum class PictureFormat {
  kUnknown = 0,
  kJpeg,
  kHeif,
  kPng,
  kTiff,
  kGif,
  kBmp,
  kWebp,
  kRaw,
  kClip
};

// How many first bytes SniffFormat looks at.
inline constexpr size_t kSniffBytes = 200;

// The format whose signature `head` (the first `length` bytes of a file) starts with. HEIF
// covers HEIC and AVIF (an ISO media file whose brands name a still image); kRaw the camera RAW
// formats with a signature of their own (CR2, CR3, ORF, RW2, RAF), the others being TIFF
// files that only the RAW library tells apart; kClip the video containers (ISO media and
// QuickTime, Matroska and WebM, AVI, MPEG transport streams).
PictureFormat SniffFormat(const uint8_t* head, size_t length);

// SniffFormat on the first bytes of `file`, which is left at its start again.
PictureFormat SniffFile(FILE* file);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_PICTURE_FORMAT_H_
