// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/imagelib/test_jpegs.h"

#include <jpeglib.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "imagelib/jpeg_codec.h"

namespace testing_jpegs {
namespace {

std::vector<uint8_t> ExifWithOrientation(int orientation) {
  // "Exif\0\0", a little-endian TIFF header, one IFD entry: Orientation (0x0112), SHORT, 1.
  return {'E', 'x',  'i',  'f', 0,
          0,   'I',  'I',  42,  0,
          8,   0,    0,    0,   1,
          0,   0x12, 0x01, 3,   0,
          1,   0,    0,    0,   static_cast<uint8_t>(orientation),
          0,   0,    0,    0,   0,
          0,   0};
}

std::vector<uint8_t> Pixels(const Spec& spec, int components) {
  std::vector<uint8_t> pixels(static_cast<size_t>(spec.width) * spec.height * components);
  uint32_t state = 2463534242u;
  for (int y = 0; y < spec.height; ++y) {
    for (int x = 0; x < spec.width; ++x) {
      uint8_t* p = &pixels[(static_cast<size_t>(y) * spec.width + x) * components];
      const bool left = x < spec.width / 2;
      if (components == 3 && spec.noise) {
        for (int i = 0; i < 3; ++i) {
          state ^= state << 13, state ^= state >> 17, state ^= state << 5;
          p[i] = static_cast<uint8_t>(state);
        }
      } else if (components == 3 && spec.flat_rgb >= 0) {
        p[0] = static_cast<uint8_t>(spec.flat_rgb >> 16);
        p[1] = static_cast<uint8_t>(spec.flat_rgb >> 8);
        p[2] = static_cast<uint8_t>(spec.flat_rgb);
      } else if (components == 1) {
        p[0] = left ? 40 : 220;
      } else if (components == 3) {
        p[0] = left ? 230 : 20;
        p[1] = 20;
        p[2] = left ? 20 : 230;
      } else {                  // Adobe's inverted CMYK: 255 means no ink
        p[0] = left ? 255 : 0;  // cyan only on the right
        p[1] = left ? 0 : 255;  // magenta only on the left
        p[2] = left ? 0 : 255;  // yellow only on the left
        p[3] = 255;             // no black
      }
    }
  }
  return pixels;
}

}  // namespace

void WriteNoiseJpeg(const std::string& path, int width, int height) {
  vantle::Raster image;
  image.width = width;
  image.height = height;
  image.channels = 3;
  image.pixels.resize(static_cast<size_t>(width) * height * 3);
  uint32_t state = 2463534242u;
  for (uint8_t& value : image.pixels) {
    state ^= state << 13, state ^= state >> 17, state ^= state << 5;
    value = static_cast<uint8_t>(state);
  }
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || !vantle::Encode(image, file))
    throw std::runtime_error("cannot write " + path);
  std::fclose(file);
}

void WriteJpeg(const std::string& path, const Spec& spec) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) throw std::runtime_error("cannot write " + path);
  jpeg_stdio_dest(&info, file);
  const bool cmyk = spec.kind == Kind::kCmykAdobe || spec.kind == Kind::kYcck;
  const int components = spec.kind == Kind::kGray ? 1 : (cmyk ? 4 : 3);
  info.image_width = spec.width;
  info.image_height = spec.height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : (cmyk ? JCS_CMYK : JCS_RGB);
  jpeg_set_defaults(&info);
  if (spec.kind == Kind::kYcck) jpeg_set_colorspace(&info, JCS_YCCK);
  if (spec.kind == Kind::kProgressive) jpeg_simple_progression(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  if (!spec.icc.empty()) {
    jpeg_write_icc_profile(&info, spec.icc.data(), static_cast<unsigned>(spec.icc.size()));
  }
  if (spec.orientation != 0) {
    const std::vector<uint8_t> exif = ExifWithOrientation(spec.orientation);
    jpeg_write_marker(&info, JPEG_APP0 + 1, exif.data(), exif.size());
  }
  std::vector<uint8_t> pixels = Pixels(spec, components);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = &pixels[static_cast<size_t>(info.next_scanline) * spec.width * components];
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

vantle::Raster ReadJpeg(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) throw std::runtime_error("cannot read " + path);
  vantle::DecodedJpeg decoded;
  const bool ok = vantle::DecodeScaled(file, 1 << 20, &decoded);
  std::fclose(file);
  if (!ok) throw std::runtime_error("not a readable JPEG: " + path);
  return decoded.image;
}

Rgb PixelAt(const vantle::Raster& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
  if (image.channels == 1) return {p[0], p[0], p[0]};
  return {p[0], p[1], p[2]};
}

}  // namespace testing_jpegs
