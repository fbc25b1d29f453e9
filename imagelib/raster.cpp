// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace vantle {

Size FitWithin(Size source, int box) {
  if (source.width <= box && source.height <= box) return source;
  const double scale = static_cast<double>(box) / std::max(source.width, source.height);
  Size fit;
  fit.width = std::clamp(static_cast<int>(std::lround(source.width * scale)), 1, box);
  fit.height = std::clamp(static_cast<int>(std::lround(source.height * scale)), 1, box);
  return fit;
}

namespace {

// Where output pixel (x, y) takes its value from, for an input of w x h.
struct SourcePoint {
  int x;
  int y;
};

SourcePoint SourceOf(int orientation, int x, int y, int w, int h) {
  switch (orientation) {
    case 2:
      return {w - 1 - x, y};
    case 3:
      return {w - 1 - x, h - 1 - y};
    case 4:
      return {x, h - 1 - y};
    case 5:
      return {y, x};
    case 6:
      return {y, h - 1 - x};
    case 7:
      return {w - 1 - y, h - 1 - x};
    case 8:
      return {w - 1 - y, x};
    default:
      return {x, y};
  }
}

}  // namespace

Raster ApplyOrientation(Raster image, int orientation) {
  if (orientation < 2 || orientation > 8) return image;
  const bool swaps = orientation >= 5;
  Raster upright;
  upright.width = swaps ? image.height : image.width;
  upright.height = swaps ? image.width : image.height;
  upright.channels = image.channels;
  upright.pixels.resize(image.pixels.size());
  const int c = image.channels;
  for (int y = 0; y < upright.height; ++y) {
    uint8_t* row = &upright.pixels[static_cast<size_t>(y) * upright.width * c];
    for (int x = 0; x < upright.width; ++x) {
      const SourcePoint s = SourceOf(orientation, x, y, image.width, image.height);
      std::memcpy(row + static_cast<size_t>(x) * c,
                  &image.pixels[(static_cast<size_t>(s.y) * image.width + s.x) * c], c);
    }
  }
  return upright;
}

}  // namespace vantle
