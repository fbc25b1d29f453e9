// SPDX-License-Identifier: GPL-3.0-or-later
// PNG over libpng: every bit depth and colour type, palette and transparency, 16 bits taken to
// 8, Adam7 interlacing; the iCCP profile and the eXIf orientation.
#include <png.h>

#include <csetjmp>

#include "imagelib/exif_orientation.h"
#include "imagelib/whole_decode.h"

// The functions that call setjmp hold only trivially destructible locals, so a longjmp from
// libpng's error handler skips no destructor.

namespace vantle {
namespace {

[[noreturn]] void JumpOnError(png_structp png, png_const_charp) {
  png_longjmp(png, 1);
}
void IgnoreWarning(png_structp, png_const_charp) {}

struct PngReader {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ~PngReader() { png_destroy_read_struct(&png, &info, nullptr); }
};

// What a PNG decode holds besides the picture: the RGBA rows and their pointers.
struct PngRows {
  std::vector<uint8_t> rgba;
  std::vector<png_bytep> pointers;
};

bool ReadHeader(PngReader* r, FILE* file, WholePicture* out, PngRows* rows) {
  if (setjmp(png_jmpbuf(r->png))) return false;
  png_set_chunk_malloc_max(r->png, 32 << 20);  // a compressed profile cannot balloon
  // Texts are read by exiv2, not here: a hundred zTXt chunks of 30 MB each would otherwise be
  // inflated and kept, 3 GB for a 16x16 picture.
  static constexpr png_byte kTexts[] = "tEXt\0zTXt\0iTXt";
  png_set_keep_unknown_chunks(r->png, PNG_HANDLE_CHUNK_NEVER, kTexts, 3);
  png_set_chunk_cache_max(r->png, 128);
  png_init_io(r->png, file);
  png_read_info(r->png, r->info);
  png_set_expand(r->png);  // palette to RGB, gray below 8 bits to 8, transparency to alpha
  png_set_scale_16(r->png);
  png_set_gray_to_rgb(r->png);
  png_set_add_alpha(r->png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(r->png);
  png_read_update_info(r->png, r->info);
  png_charp name = nullptr;
  int compression = 0;
  png_bytep profile = nullptr;
  png_uint_32 length = 0;
  if (png_get_iCCP(r->png, r->info, &name, &compression, &profile, &length) != 0) {
    out->icc.assign(profile, profile + length);
  }
  const Size size{static_cast<int>(png_get_image_width(r->png, r->info)),
                  static_cast<int>(png_get_image_height(r->png, r->info))};
  if (!TakeSize(size, 4, out) || png_get_rowbytes(r->png, r->info) != size_t{4} * size.width) {
    return false;
  }
  rows->rgba.resize(size_t{4} * size.width * size.height);
  rows->pointers.resize(size.height);
  for (int y = 0; y < size.height; ++y) rows->pointers[y] = &rows->rgba[size_t{4} * size.width * y];
  return true;
}

bool ReadImage(PngReader* r, PngRows* rows) {
  if (setjmp(png_jmpbuf(r->png))) return false;
  png_read_image(r->png, rows->pointers.data());
  return true;
}

// The eXIf chunk may follow the image data; a damaged end after a whole image is no loss.
int ReadOrientation(PngReader* r) {
  if (setjmp(png_jmpbuf(r->png))) return 1;
  png_read_end(r->png, r->info);
  png_uint_32 length = 0;
  png_bytep exif = nullptr;
  if (png_get_eXIf_1(r->png, r->info, &length, &exif) == 0) return 1;
  return ExifOrientation(exif, length);
}

}  // namespace

bool DecodePng(FILE* file, WholePicture* out) {
  PngReader r;
  r.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, JumpOnError, IgnoreWarning);
  if (r.png == nullptr) return false;
  r.info = png_create_info_struct(r.png);
  PngRows rows;
  if (r.info == nullptr || !ReadHeader(&r, file, out, &rows) || !ReadImage(&r, &rows)) {
    return false;
  }
  const size_t width = static_cast<size_t>(out->image.width);
  for (int y = 0; y < out->image.height; ++y) {
    CompositeRow(rows.pointers[y], out->image.width, &out->image.pixels[3 * width * y]);
  }
  out->orientation = ReadOrientation(&r);
  return true;
}

}  // namespace vantle
