// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/whole_decode.h"

#include <sys/stat.h>

#include <algorithm>

namespace vantle {
namespace {

uint32_t BigEndian32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// PNG: the IHDR chunk's width and height; GIF: the logical screen's.
bool ReadPngOrGifSize(FILE* file, PictureFormat format, Size* size) {
  uint8_t head[24];
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  if (format == PictureFormat::kPng && got >= 24) {
    const uint32_t width = BigEndian32(head + 16), height = BigEndian32(head + 20);
    if (width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
    *size = {static_cast<int>(width), static_cast<int>(height)};
    return true;
  }
  if (format == PictureFormat::kGif && got >= 10) {
    *size = {head[6] | (head[7] << 8), head[8] | (head[9] << 8)};
    return true;
  }
  return false;
}

// The size the fixed header of a PNG, GIF, BMP or WebP claims; false for other formats, whose
// size only their library can read.
bool ReadFixedHeaderSize(FILE* file, PictureFormat format, Size* size) {
  switch (format) {
    case PictureFormat::kPng:
    case PictureFormat::kGif:
      return ReadPngOrGifSize(file, format, size);
    case PictureFormat::kBmp:
      return ReadBmpSize(file, size);
    case PictureFormat::kWebp:
      return ReadWebpSize(file, size);
    default:
      return false;
  }
}

bool DecodeTiffFromStart(FILE* file, WholePicture* out) {
  std::rewind(file);
  *out = WholePicture{};
  return DecodeTiff(file, out);
}

}  // namespace

size_t OtherFormatBytes(Size size, int box) {
  if (size.width <= 0 || size.height <= 0) return 0;
  const size_t pixels = size_t{static_cast<size_t>(size.width)} * static_cast<size_t>(size.height);
  const Size fitted = FitWithin(size, box);
  const size_t image = size_t{static_cast<size_t>(fitted.width)} * fitted.height * 3;
  // The decoder's own pixels (RGBA at most), the whole RGB picture, and the fitted image twice
  // while it is converted and encoded.
  return std::min(pixels * 7, kWholeBudget) + 2 * image;
}

bool WithinBudget(Size size, int bytes_per_pixel, WholePicture* out) {
  out->full = size;
  if (size.width <= 0 || size.height <= 0) return false;
  const size_t pixels =
      size_t{static_cast<size_t>(size.width)} * size_t{static_cast<size_t>(size.height)};
  out->too_large = pixels > kWholeBudget / static_cast<size_t>(3 + bytes_per_pixel);
  return !out->too_large;
}

bool TakeSize(Size size, int bytes_per_pixel, WholePicture* out) {
  if (!WithinBudget(size, bytes_per_pixel, out)) return false;
  const size_t pixels =
      size_t{static_cast<size_t>(size.width)} * size_t{static_cast<size_t>(size.height)};
  out->image.width = size.width;
  out->image.height = size.height;
  out->image.channels = 3;
  out->image.pixels.assign(pixels * 3, 0);
  return true;
}

void CompositeRow(const uint8_t* rgba, int width, uint8_t* rgb) {
  for (int x = 0; x < width; ++x, rgba += 4, rgb += 3) {
    const int alpha = rgba[3];
    for (int i = 0; i < 3; ++i) {
      rgb[i] =
          static_cast<uint8_t>((rgba[i] * alpha + kPageBackground[i] * (255 - alpha) + 127) / 255);
    }
  }
}

bool ReadAll(FILE* file, size_t limit, std::vector<uint8_t>* bytes) {
  struct stat info {};
  if (fstat(fileno(file), &info) != 0 || info.st_size <= 0) return false;
  if (static_cast<unsigned long long>(info.st_size) > limit) return false;
  bytes->resize(static_cast<size_t>(info.st_size));
  const size_t got = std::fread(bytes->data(), 1, bytes->size(), file);
  bytes->resize(got);
  return got > 0;
}

bool DecodeWhole(FILE* file, PictureFormat format, WholePicture* out) {
  // A fixed header's size is weighed before the format's library reads any further, so that a
  // header alone is refused as too large. TIFF and HEIF decoders open the file and weigh the
  // size themselves before they decode.
  Size claimed;
  if (ReadFixedHeaderSize(file, format, &claimed) && !WithinBudget(claimed, 4, out)) return false;
  std::rewind(file);
  bool not_raw = false;
  switch (format) {
    case PictureFormat::kPng:
      return DecodePng(file, out);
    case PictureFormat::kGif:
      return DecodeGif(file, out);
    case PictureFormat::kTiff:
      return DecodeRaw(file, out, &not_raw) || (not_raw && DecodeTiffFromStart(file, out));
    case PictureFormat::kRaw:
      return DecodeRaw(file, out, &not_raw);
    case PictureFormat::kClip:
      return DecodeClip(file, out);
    case PictureFormat::kBmp:
      return DecodeBmp(file, out);
    case PictureFormat::kWebp:
      return DecodeWebp(file, out);
    case PictureFormat::kHeif:
      return DecodeHeif(file, out);
    default:
      return false;
  }
}

bool ReadWholeSize(FILE* file, PictureFormat format, Size* size) {
  switch (format) {
    case PictureFormat::kTiff:
      return ReadTiffSize(file, size);
    case PictureFormat::kHeif:
      return ReadHeifSize(file, size);
    default:
      return ReadFixedHeaderSize(file, format, size);
  }
}

PictureFormat TellFormat(FILE* file, PictureFormat sniffed) {
  Size ignored;
  const bool raw = sniffed == PictureFormat::kTiff && ReadRawSize(file, &ignored);
  std::rewind(file);
  return raw ? PictureFormat::kRaw : sniffed;
}

size_t WholeBytes(FILE* file, PictureFormat format, int box) {
  // A RAW's or a clip's memory is its library's; a TIFF is a camera's RAW when LibRaw knows it.
  size_t bytes = 0;
  if (format == PictureFormat::kClip) bytes = ClipBytes(file, box);
  if (format == PictureFormat::kRaw || format == PictureFormat::kTiff) bytes = RawBytes(file, box);
  std::rewind(file);
  Size size;
  if (bytes == 0 && format != PictureFormat::kClip && format != PictureFormat::kRaw &&
      ReadWholeSize(file, format, &size)) {
    bytes = OtherFormatBytes(size, box);
  }
  std::rewind(file);
  return bytes;
}

}  // namespace vantle
