// SPDX-License-Identifier: GPL-3.0-or-later
// BMP over stb_image (its BMP reader alone): 1, 4, 8, 16, 24 and 32 bits, bit fields, alpha.
// stb reads past the end of a file as zeros, so a file shorter than its pixel rows is refused
// here before stb sees it; stb does not read RLE-compressed BMPs.
#include <sys/stat.h>

#include <cstdlib>
#include <cstring>

#include "imagelib/whole_decode.h"

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_STATIC
#define STBI_ONLY_BMP
#define STBI_NO_FAILURE_STRINGS
#define STBI_NO_THREAD_LOCALS
#define STBI_MAX_DIMENSIONS (1 << 16)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb/stb_image.h>
#pragma GCC diagnostic pop

namespace vantle {
namespace {

uint32_t Little(const uint8_t* p, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | p[i];
  return value;
}

// The size the header claims, and the bytes its pixel rows end at.
struct BmpHeader {
  Size size;
  uint64_t data_end = 0;
};

bool ReadHeader(FILE* file, BmpHeader* header) {
  uint8_t head[30];
  const size_t got = std::fread(head, 1, sizeof head, file);
  std::rewind(file);
  if (got < 26) return false;
  const uint32_t offset = Little(head + 10, 4), info_size = Little(head + 14, 4);
  const bool core = info_size == 12;
  if (!core && got < 30) return false;
  const int64_t width = core ? Little(head + 18, 2) : static_cast<int32_t>(Little(head + 18, 4));
  const int64_t height = core ? Little(head + 20, 2) : static_cast<int32_t>(Little(head + 22, 4));
  const uint32_t bits = core ? Little(head + 24, 2) : Little(head + 28, 2);
  const uint64_t rows = static_cast<uint64_t>(height < 0 ? -height : height);
  if (width <= 0 || rows == 0 || width > 0x7FFFFFFF || rows > 0x7FFFFFFF) return false;
  header->size = {static_cast<int>(width), static_cast<int>(rows)};
  header->data_end = offset + (static_cast<uint64_t>(width) * bits + 31) / 32 * 4 * rows;
  return true;
}

}  // namespace

bool ReadBmpSize(FILE* file, Size* size) {
  BmpHeader header;
  if (!ReadHeader(file, &header)) return false;
  *size = header.size;
  return true;
}

bool DecodeBmp(FILE* file, WholePicture* out) {
  BmpHeader header;
  struct stat info {};
  if (!ReadHeader(file, &header) || !TakeSize(header.size, 4, out)) return false;
  if (fstat(fileno(file), &info) != 0 || static_cast<uint64_t>(info.st_size) < header.data_end) {
    return false;  // its rows end before the picture does
  }
  int width = 0, height = 0, channels = 0;
  stbi_uc* rgba = stbi_load_from_file(file, &width, &height, &channels, 4);
  if (rgba == nullptr) return false;
  const bool same = width == header.size.width && height == header.size.height;
  for (int y = 0; same && y < height; ++y) {
    CompositeRow(rgba + size_t{4} * width * y, width, &out->image.pixels[size_t{3} * width * y]);
  }
  stbi_image_free(rgba);
  return same;
}

}  // namespace vantle
