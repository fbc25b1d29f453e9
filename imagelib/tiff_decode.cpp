// SPDX-License-Identifier: GPL-3.0-or-later
// TIFF over libtiff's RGBA interface: every photometric interpretation it knows (RGB, gray,
// palette, CMYK, YCbCr, 16 bits), strips or tiles, the first page only; the orientation tag
// and the ICC profile, which 8-bit CMYK is converted through. What that interface refuses,
// 16-bit CMYK and floating point in strips, is read row by row here.
#include <tiffio.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "imagelib/colour.h"
#include "imagelib/whole_decode.h"

namespace vantle {
namespace {

int IgnoreMessage(TIFF*, void*, const char*, const char*, va_list) {
  return 1;  // handled: libtiff's global handler would print it
}

struct TiffCloser {
  void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using Tiff = std::unique_ptr<TIFF, TiffCloser>;

// Opens `file` for libtiff on a descriptor of its own, never printing a message.
Tiff OpenTiff(FILE* file) {
  const int fd = dup(fileno(file));
  if (fd < 0) return nullptr;
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  TIFFOpenOptionsSetErrorHandlerExtR(options, IgnoreMessage, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, IgnoreMessage, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, static_cast<tmsize_t>(kWholeBudget / 2));
  Tiff tiff(TIFFFdOpenExt(fd, "picture", "rm", options));
  TIFFOpenOptionsFree(options);
  if (tiff == nullptr) close(fd);
  return tiff;
}

// The photometric interpretation the first directory of a classic TIFF stores, read from the
// file itself; -1 when it cannot be read. libtiff takes a palette picture whose colour map it
// cannot read for a gray one, which would archive a damaged picture as a dark grey one.
int StoredPhotometric(FILE* file) {
  const int fd = fileno(file);
  uint8_t header[8];
  if (pread(fd, header, 8, 0) != 8) return -1;
  const bool little = header[0] == 'I';
  const auto number = [little](const uint8_t* at, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= uint32_t{at[little ? i : bytes - 1 - i]} << (8 * i);
    return value;
  };
  if (number(header + 2, 2) != 42) return -1;  // BigTIFF and the rest: not looked at
  const off_t directory = number(header + 4, 4);
  uint8_t count_bytes[2];
  if (pread(fd, count_bytes, 2, directory) != 2) return -1;
  const uint32_t count = std::min<uint32_t>(number(count_bytes, 2), 4096);
  std::vector<uint8_t> entries(size_t{12} * count);
  if (pread(fd, entries.data(), entries.size(), directory + 2) !=
      static_cast<ssize_t>(entries.size())) {
    return -1;
  }
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* entry = &entries[size_t{12} * i];
    if (number(entry, 2) == TIFFTAG_PHOTOMETRIC) return static_cast<int>(number(entry + 8, 2));
  }
  return -1;
}

bool SizeOf(TIFF* tiff, Size* size) {
  uint32_t width = 0, height = 0;
  if (!TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &width) ||
      !TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &height) || width > 0x7FFFFFFF ||
      height > 0x7FFFFFFF) {
    return false;
  }
  *size = {static_cast<int>(width), static_cast<int>(height)};
  return true;
}

// libtiff's reader with what our CMYK routine needs beside it; libtiff hands the routine its
// first member.
struct Reader {
  TIFFRGBAImage image;
  const CmykToSrgb* profile;
  uint8_t* rgb;  // a row of image.width RGB pixels
};

// Puts `width` x `height` pixels of 8-bit CMYK converted through the picture's profile, as
// libtiff's own contiguous routines put theirs.
void PutCmykThroughProfile(TIFFRGBAImage* image, uint32_t* out, uint32_t, uint32_t, uint32_t width,
                           uint32_t height, int32_t from_skew, int32_t to_skew, unsigned char* in) {
  const Reader* reader = reinterpret_cast<const Reader*>(image);
  for (uint32_t y = 0; y < height; ++y, out += width + to_skew, in += (width + from_skew) * 4) {
    reader->profile->Row(in, reader->rgb, static_cast<int>(width));
    for (uint32_t x = 0; x < width; ++x) {
      const uint8_t* p = reader->rgb + 3 * x;
      out[x] = p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{0xFF} << 24);
    }
  }
}

// 8-bit CMYK in one plane, which libtiff would turn into RGB naively, ink by ink.
bool IsPlainCmyk(const TIFFRGBAImage& image) {
  return image.photometric == PHOTOMETRIC_SEPARATED && image.samplesperpixel == 4 &&
         image.bitspersample == 8 && image.isContig;
}

// The layout of samples that libtiff's RGBA interface does not read.
struct DeepLayout {
  uint16_t bits = 0, samples = 0, format = SAMPLEFORMAT_UINT, photometric = 0, planar = 0;
  bool cmyk() const { return photometric == PHOTOMETRIC_SEPARATED && samples == 4; }
  bool floating() const { return format == SAMPLEFORMAT_IEEEFP; }
};

DeepLayout LayoutOf(TIFF* tiff) {
  DeepLayout l;
  TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &l.bits);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &l.samples);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &l.format);
  TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &l.planar);
  TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &l.photometric);
  return l;
}

bool IsDeep(TIFF* tiff, const DeepLayout& l) {
  if (TIFFIsTiled(tiff) || l.planar != PLANARCONFIG_CONTIG) return false;
  const bool colour = l.cmyk() || ((l.photometric == PHOTOMETRIC_RGB && l.samples >= 3) ||
                                   (l.photometric == PHOTOMETRIC_MINISBLACK && l.samples >= 1));
  return colour && ((l.bits == 16 && l.cmyk() && !l.floating()) ||
                    (l.floating() && (l.bits == 16 || l.bits == 32)));
}

float HalfToFloat(uint16_t half) {
  const int exponent = (half >> 10) & 0x1F, fraction = half & 0x3FF;
  const float magnitude = exponent == 0    ? std::ldexp(static_cast<float>(fraction), -24)
                          : exponent == 31 ? INFINITY
                                           : std::ldexp(1024.0f + fraction, exponent - 25);
  return (half & 0x8000) != 0 ? -magnitude : magnitude;
}

// One sample as 8 bits: integers by their high byte, floating point (0 to 1) through sRGB's
// curve when it is `light` (a colour; alpha is not).
uint8_t Sample8(const uint8_t* row, size_t at, const DeepLayout& l, bool light = true) {
  if (!l.floating()) {
    uint16_t value = 0;
    std::memcpy(&value, row + 2 * at, 2);
    return static_cast<uint8_t>(value >> 8);
  }
  float value = 0;
  if (l.bits == 32) std::memcpy(&value, row + 4 * at, 4);
  if (l.bits == 16) {
    uint16_t half = 0;
    std::memcpy(&half, row + 2 * at, 2);
    value = HalfToFloat(half);
  }
  if (!(value > 0)) return 0;  // NaN too
  if (value >= 1) return 255;
  const float encoded = !light                ? value
                        : value <= 0.0031308f ? 12.92f * value
                                              : 1.055f * std::pow(value, 1 / 2.4f) - 0.055f;
  return static_cast<uint8_t>(std::lround(encoded * 255));
}

// Reads a picture of DeepLayout row by row, CMYK through its profile (or ink by ink).
bool ReadDeepPixels(TIFF* tiff, const DeepLayout& l, WholePicture* out) {
  const size_t width = static_cast<size_t>(out->full.width);
  std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tiff)));
  if (row.size() < width * l.samples * (l.bits / 8)) return false;
  const CmykToSrgb profile(l.cmyk() ? out->icc : std::vector<uint8_t>{}, false);
  if (profile.ok()) out->icc.clear();  // the pixels come out in sRGB
  std::vector<uint8_t> eight(width * 4), rgba(width * 4);
  for (int y = 0; y < out->full.height; ++y) {
    if (TIFFReadScanline(tiff, row.data(), static_cast<uint32_t>(y), 0) != 1) return false;
    for (size_t x = 0; x < width; ++x) {
      const size_t first = x * l.samples;
      uint8_t* px = &rgba[4 * x];
      if (l.cmyk()) {
        for (int i = 0; i < 4; ++i) eight[4 * x + i] = Sample8(row.data(), first + i, l);
        const int k = 255 - eight[4 * x + 3];
        for (int i = 0; i < 3; ++i)
          px[i] = static_cast<uint8_t>((255 - eight[4 * x + i]) * k / 255);
        px[3] = 255;
        continue;
      }
      const bool rgb = l.photometric == PHOTOMETRIC_RGB;
      for (int i = 0; i < 3; ++i) px[i] = Sample8(row.data(), first + (rgb ? i : 0), l);
      const uint16_t colour_samples = rgb ? 3 : 1;
      px[3] =
          l.samples > colour_samples ? Sample8(row.data(), first + colour_samples, l, false) : 255;
    }
    uint8_t* rgb_out = &out->image.pixels[3 * width * y];
    if (profile.ok()) {
      profile.Row(eight.data(), rgb_out, static_cast<int>(width));
    } else {
      CompositeRow(rgba.data(), static_cast<int>(width), rgb_out);
    }
  }
  return true;
}

// Reads the pixels as stored (the orientation is applied later, with every format's).
bool ReadPixels(TIFF* tiff, WholePicture* out) {
  if (const DeepLayout layout = LayoutOf(tiff); IsDeep(tiff, layout)) {
    return ReadDeepPixels(tiff, layout, out);
  }
  char message[1024];
  Reader reader{};
  if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&reader.image, tiff, 1, message)) {
    return false;
  }
  reader.image.req_orientation = reader.image.orientation;  // no flips: rows as stored
  const CmykToSrgb profile(IsPlainCmyk(reader.image) ? out->icc : std::vector<uint8_t>{}, false);
  std::vector<uint8_t> rgb(size_t{3} * out->full.width);
  if (profile.ok()) {
    reader.profile = &profile;
    reader.rgb = rgb.data();
    reader.image.put.contig = PutCmykThroughProfile;
    out->icc.clear();  // the pixels come out in sRGB
  }
  const Size size = out->full;
  std::vector<uint32_t> abgr(size_t{static_cast<size_t>(size.width)} * size.height);
  const bool read = TIFFRGBAImageGet(&reader.image, abgr.data(), size.width, size.height) != 0;
  TIFFRGBAImageEnd(&reader.image);
  if (!read) return false;
  std::vector<uint8_t> rgba(size_t{4} * size.width);
  for (int y = 0; y < size.height; ++y) {
    const uint32_t* row = &abgr[size_t{static_cast<size_t>(size.width)} * y];
    for (int x = 0; x < size.width; ++x) {
      rgba[4 * x] = TIFFGetR(row[x]), rgba[4 * x + 1] = TIFFGetG(row[x]);
      rgba[4 * x + 2] = TIFFGetB(row[x]), rgba[4 * x + 3] = TIFFGetA(row[x]);
    }
    CompositeRow(rgba.data(), size.width, &out->image.pixels[size_t{3} * size.width * y]);
  }
  return true;
}

}  // namespace

bool DecodeTiff(FILE* file, WholePicture* out) {
  const Tiff tiff = OpenTiff(file);
  Size size;
  if (tiff == nullptr || !SizeOf(tiff.get(), &size) || !TakeSize(size, 4, out)) return false;
  uint16_t photometric = 0;
  TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);
  if (photometric != PHOTOMETRIC_PALETTE && StoredPhotometric(file) == PHOTOMETRIC_PALETTE) {
    return false;  // its colour map is damaged
  }
  uint16_t orientation = 1;
  TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_ORIENTATION, &orientation);
  out->orientation = orientation >= 1 && orientation <= 8 ? orientation : 1;
  uint32_t length = 0;
  void* profile = nullptr;
  if (TIFFGetField(tiff.get(), TIFFTAG_ICCPROFILE, &length, &profile) && profile != nullptr) {
    const auto* bytes = static_cast<const uint8_t*>(profile);
    out->icc.assign(bytes, bytes + length);
  }
  return ReadPixels(tiff.get(), out);
}

bool ReadTiffSize(FILE* file, Size* size) {
  const Tiff tiff = OpenTiff(file);
  return tiff != nullptr && SizeOf(tiff.get(), size);
}

}  // namespace vantle
