// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the decoding of pictures of every format (HEIF, PNG, TIFF, GIF, BMP, WebP, JPEG, RAW,
// clips, told by their first bytes): each call must return one of its codes and never crash, print
// or exit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imagelib/vantle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = "/tmp/picture-fuzz-" + std::to_string(getpid());
  const std::string out = in + ".out.jpg";
  FILE* file = std::fopen(in.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const int format = vantle_format(in.c_str());
  if (format < VANTLE_FORMAT_UNKNOWN || format > VANTLE_FORMAT_CLIP) __builtin_trap();
  sjpeg_weigh(in.c_str(), 0);
  const int result = sjpeg_noted(in.c_str(), out.c_str(), size % 2 == 0 ? 0 : 96, nullptr,
                                 VANTLE_EVERY_FORMAT, nullptr);
  if (result < VANTLE_DONE || result > VANTLE_TOO_LARGE) __builtin_trap();
  std::remove(out.c_str());
  return 0;
}
