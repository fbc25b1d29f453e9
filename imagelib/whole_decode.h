// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures of every format but JPEG, decoded whole at their full size, each over its format's
// own library: the inside of libvantle_formats.so (formats_module.h). Each call is independent
// (thread-safe), never prints, and trusts nothing in the file: a damaged or truncated picture fails
// rather than coming out partly grey.
#ifndef LUMVANE_IMAGELIB_WHOLE_DECODE_H_
#define LUMVANE_IMAGELIB_WHOLE_DECODE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "imagelib/picture_format.h"
#include "imagelib/raster.h"

namespace vantle {

struct WholePicture {
  Raster image;              // RGB, 8 bits, as stored (before `orientation`), transparency
                             // composited over the page's light background
  Size full;                 // the size the file claims, also after a failure
  int orientation = 1;       // EXIF or TIFF orientation 1..8 (HEIF's own is applied already)
  bool too_large = false;    // after a failure: decoding it would pass the memory budget
  std::vector<uint8_t> icc;  // the embedded RGB colour profile, if any
};

// Decodes the first picture (frame, page) of `file`, which holds `format`. False when it is
// damaged, truncated, or would take more than kWholeBudget (`too_large`).
// REQUIRES: `file` is at its start; `format` is neither kJpeg nor kUnknown.
bool DecodeWhole(FILE* file, PictureFormat format, WholePicture* out);

// The size `file` claims for its first picture, from its header alone; false when it has none.
// REQUIRES: `format` is a still picture's (not kRaw or kClip, whose libraries weigh them).
bool ReadWholeSize(FILE* file, PictureFormat format, Size* size);

// The descriptive blocks of a HEIF file's primary image, each "" when it has none or it is
// larger than the limit read with it.
struct HeifBlocks {
  std::string exif;  // from its TIFF header on
  std::string xmp;   // the XMP packet
};

// Reads both blocks of `file`, at most `limit` bytes each; false when it is no readable HEIF.
bool ReadHeifBlocks(FILE* file, size_t limit, HeifBlocks* blocks);

// What a video clip's container says of it.
struct ClipFacts {
  double seconds = 0;   // its length; 0 when unknown
  std::string created;  // the time it was made, as the container has it (ISO 8601), or ""
  std::string title;    // its title and comment tags, or ""
  std::string comment;
  std::string container;  // FFmpeg's name of its format: "mov,mp4,m4a,3gp,3g2,mj2", ...
  std::string video;      // the codecs of its best video and audio streams: "h264", "" for none
  std::string audio;
  Size shown;  // the frame's size as shown, upright
};

// Reads the facts of the clip in `file`; false when it is no clip with a video stream.
bool ReadClipFacts(FILE* file, ClipFacts* facts);

// The format of a file whose first bytes are `sniffed`: kRaw for a TIFF file that LibRaw
// knows as a camera's RAW, else `sniffed`.
PictureFormat TellFormat(FILE* file, PictureFormat sniffed);

// About the most memory decoding a picture of `size` that the file's header claims and making
// an image of it that fits `box` take.
size_t OtherFormatBytes(Size size, int box);

// About the most memory DecodeWhole of `file` and making an image of it that fits `box` take;
// 0 when its header cannot be read.
size_t WholeBytes(FILE* file, PictureFormat format, int box);

// --- For the format decoders ---

// The most memory one decode may take (the same for JPEG).
inline constexpr size_t kWholeBudget = size_t{512} << 20;

// A RAW photo's embedded preview, or a clip's poster frame, is decoded to fit this box (the
// display image's); a RAW whose preview is smaller is developed from its sensor data.
inline constexpr int kRawPreviewFloor = 1600;

// The colour transparent pixels show: the page's light background, #F4F1EA.
inline constexpr uint8_t kPageBackground[3] = {0xF4, 0xF1, 0xEA};

// Records `size` as the picture's; false (and `too_large`) when it is empty or a decode that
// holds `bytes_per_pixel` besides the RGB image would pass the budget.
bool WithinBudget(Size size, int bytes_per_pixel, WholePicture* out);

// WithinBudget, then sizes `out->image` for it as RGB.
bool TakeSize(Size size, int bytes_per_pixel, WholePicture* out);

// Composites `width` RGBA pixels over the page's background into RGB.
void CompositeRow(const uint8_t* rgba, int width, uint8_t* rgb);

// Reads all of `file` (at most `limit` bytes); false when it cannot or it is larger.
bool ReadAll(FILE* file, size_t limit, std::vector<uint8_t>* bytes);

bool DecodePng(FILE* file, WholePicture* out);
bool DecodeGif(FILE* file, WholePicture* out);
bool DecodeTiff(FILE* file, WholePicture* out);
bool DecodeBmp(FILE* file, WholePicture* out);
bool DecodeWebp(FILE* file, WholePicture* out);
bool DecodeHeif(FILE* file, WholePicture* out);
// `not_raw`: LibRaw knows the file as no RAW at all.
bool DecodeRaw(FILE* file, WholePicture* out, bool* not_raw);
bool DecodeClip(FILE* file, WholePicture* out);
bool ReadRawSize(FILE* file, Size* size);
size_t RawBytes(FILE* file, int box);
size_t ClipBytes(FILE* file, int box);
bool ReadTiffSize(FILE* file, Size* size);
bool ReadBmpSize(FILE* file, Size* size);
bool ReadWebpSize(FILE* file, Size* size);
bool ReadHeifSize(FILE* file, Size* size);

}  // namespace vantle

#endif  // LUMVANE_IMAGELIB_WHOLE_DECODE_H_
