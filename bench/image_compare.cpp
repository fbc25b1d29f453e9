// SPDX-License-Identifier: GPL-3.0-or-later
// The PSNR of one JPEG against another of the same size (all channels), for judging a change
// of the image path: image_compare BEFORE.jpg AFTER.jpg
#include <cmath>
#include <cstdio>

#include "imagelib/jpeg_codec.h"

namespace {

bool Read(const char* path, vantle::Raster* image) {
  FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return false;
  vantle::DecodedJpeg decoded;
  const bool ok = vantle::DecodeScaled(file, 1 << 16, &decoded);
  std::fclose(file);
  *image = std::move(decoded.image);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  vantle::Raster a, b;
  if (argc != 3 || !Read(argv[1], &a) || !Read(argv[2], &b) || a.width != b.width ||
      a.height != b.height || a.channels != b.channels) {
    std::fprintf(stderr, "image_compare: two readable JPEGs of one size, please\n");
    return 1;
  }
  double squared = 0;
  for (size_t i = 0; i < a.pixels.size(); ++i) {
    const double d = static_cast<double>(a.pixels[i]) - b.pixels[i];
    squared += d * d;
  }
  const double mse = squared / a.pixels.size();
  std::printf("%.2f\n", mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse));
  return 0;
}
