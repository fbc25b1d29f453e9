// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/play_mark.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace vantle {
namespace {

// Glyphs of five by seven pixels, a row a byte, the high bit of five leftmost.
constexpr uint8_t kDigits[11][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}};

// Mixes `value` (0..255) into the pixel at x, y with `alpha` of 256.
void Blend(Raster* image, int x, int y, int value, int alpha) {
  if (x < 0 || y < 0 || x >= image->width || y >= image->height) return;
  uint8_t* pixel =
      &image->pixels[(size_t{static_cast<size_t>(y)} * image->width + x) * image->channels];
  for (int c = 0; c < image->channels; ++c) {
    pixel[c] = static_cast<uint8_t>((pixel[c] * (256 - alpha) + value * alpha) >> 8);
  }
}

void DrawButton(Raster* image) {
  const int radius = std::max(4, std::min(image->width, image->height) / 5);
  const int cx = image->width / 2, cy = image->height / 2;
  for (int y = -radius; y <= radius; ++y) {
    for (int x = -radius; x <= radius; ++x) {
      if (x * x + y * y > radius * radius) continue;
      // The triangle points right: its left edge at -radius/3, its tip at radius/2.
      const int left = -radius / 3, tip = radius / 2;
      const bool in_triangle = x >= left && std::abs(y) * (tip - left) <= (tip - x) * (radius / 2);
      Blend(image, cx + x, cy + y, in_triangle ? 255 : 0, in_triangle ? 235 : 120);
    }
  }
}

void DrawCaption(std::string_view caption, Raster* image) {
  int glyphs = 0;
  for (char c : caption) glyphs += (c >= '0' && c <= ':') ? 1 : 0;
  if (glyphs == 0) return;
  const int scale = std::max(1, image->height / 40);
  const int width = glyphs * 6 * scale + scale, height = 9 * scale;
  const int left = image->width - width - scale, top = image->height - height - scale;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) Blend(image, left + x, top + y, 0, 150);
  }
  int at = left + scale;
  for (char c : caption) {
    if (c < '0' || c > ':') continue;
    const uint8_t* glyph = kDigits[c - '0'];
    for (int row = 0; row < 7 * scale; ++row) {
      for (int column = 0; column < 5 * scale; ++column) {
        if (glyph[row / scale] & (0x10 >> (column / scale))) {
          Blend(image, at + column, top + scale + row, 255, 256);
        }
      }
    }
    at += 6 * scale;
  }
}

}  // namespace

void DrawPlayMark(std::string_view caption, Raster* image) {
  if (image->width <= 0 || image->height <= 0 || image->channels <= 0) return;
  DrawButton(image);
  DrawCaption(caption, image);
}

}  // namespace vantle
