// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/jpeg_codec.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>
#include <sys/stat.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "imagelib/coefficient_spill.h"
#include "imagelib/colour.h"
#include "imagelib/exif_orientation.h"
#include "imagelib/jpeg_source.h"

// The functions that call setjmp hold only trivially destructible locals, so a longjmp from
// libjpeg's error handler skips no destructor.

namespace vantle {
namespace {

struct ErrorManager {
  jpeg_error_mgr manager;
  jmp_buf jump;
};

[[noreturn]] void JumpOnError(j_common_ptr info) {
  longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1);
}

void IgnoreMessage(j_common_ptr) {}

// Minor corruption is only a warning and still gives a usable picture, but data that ends
// early, at the end of the file or at a marker such as an early end-of-image, would come out
// with the lower part filled grey: that is a failure.
void FailOnPrematureEnd(j_common_ptr info, int level) {
  const int code = info->err->msg_code;
  if (level == -1 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) JumpOnError(info);
}

void InstallErrorManager(ErrorManager* errors) {
  jpeg_std_error(&errors->manager);
  errors->manager.error_exit = JumpOnError;
  errors->manager.emit_message = FailOnPrematureEnd;
  errors->manager.output_message = IgnoreMessage;
}

size_t FileBytes(FILE* file) {
  struct stat info {};
  return fstat(fileno(file), &info) == 0 && info.st_size > 0 ? static_cast<size_t>(info.st_size)
                                                             : 0;
}

int OrientationFromMarkers(jpeg_saved_marker_ptr marker) {
  for (; marker != nullptr; marker = marker->next) {
    if (marker->marker != JPEG_APP0 + 1 || marker->data_length < 6) continue;
    if (std::memcmp(marker->data, "Exif\0\0", 6) != 0) continue;
    return ExifOrientation(marker->data, marker->data_length);
  }
  return 1;
}

// Chooses scale_num/8 as the smallest scale whose output still covers `target`.
void ChooseScale(jpeg_decompress_struct* info, Size target) {
  info->scale_denom = 8;
  for (unsigned num = 1; num <= 8; ++num) {
    const uint64_t w = (uint64_t{info->image_width} * num + 7) / 8;
    const uint64_t h = (uint64_t{info->image_height} * num + 7) / 8;
    if (w >= static_cast<uint64_t>(target.width) && h >= static_cast<uint64_t>(target.height)) {
      info->scale_num = num;
      return;
    }
  }
  info->scale_num = 8;
}

struct Decoder {
  jpeg_decompress_struct info;
  ErrorManager errors;
  bool created;
  CoefficientSpill spill;
};

bool ReadHeader(Decoder* d, FILE* file, int box, DecodedJpeg* out) {
  d->info.err = &d->errors.manager;
  if (setjmp(d->errors.jump)) return false;
  jpeg_create_decompress(&d->info);
  d->created = true;
  d->info.mem->max_memory_to_use = static_cast<long>(kDecodeBudget);
  ReadInChunks(&d->info, file);
  jpeg_save_markers(&d->info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&d->info, JPEG_APP0 + 2, 0xFFFF);  // the ICC profile
  if (jpeg_read_header(&d->info, TRUE) != JPEG_HEADER_OK) return false;
  JOCTET* icc = nullptr;
  unsigned int icc_length = 0;
  if (jpeg_read_icc_profile(&d->info, &icc, &icc_length)) {
    out->icc.assign(icc, icc + icc_length);
    std::free(icc);
  }
  out->full = {static_cast<int>(d->info.image_width), static_cast<int>(d->info.image_height)};
  if (CoefficientBytes(d->info) > kDecodeBudget) {
    out->too_large = true;
    return false;
  }
  out->orientation = OrientationFromMarkers(d->info.marker_list);
  switch (d->info.jpeg_color_space) {
    case JCS_GRAYSCALE:
      d->info.out_color_space = JCS_GRAYSCALE;
      break;
    case JCS_CMYK:
    case JCS_YCCK:
      d->info.out_color_space = JCS_CMYK;
      break;
    default:
      d->info.out_color_space = JCS_RGB;
      break;
  }
  ChooseScale(&d->info, FitWithin(out->full, box));
  jpeg_calc_output_dimensions(&d->info);
  return true;
}

// Adobe writes CMYK inverted (0 = full ink); plain CMYK stores ink amounts directly.
void CmykRowToRgb(const uint8_t* cmyk, uint8_t* rgb, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int i = 0; i < 3; ++i) {
      const int c = inverted ? cmyk[i] : 255 - cmyk[i];
      rgb[i] = static_cast<uint8_t>((c * k + 127) / 255);
    }
  }
}

// Reads every scanline into `row` (converted to RGB when CMYK) and hands it to `resampler`.
bool ReadPixels(Decoder* d, uint8_t* row, uint8_t* cmyk_row, const CmykToSrgb* profile,
                RowResampler* resampler) {
  if (setjmp(d->errors.jump)) return false;
  jpeg_start_decompress(&d->info);
  const bool cmyk = d->info.out_color_space == JCS_CMYK;
  const bool inverted = d->info.saw_Adobe_marker;
  const int width = static_cast<int>(d->info.output_width);
  while (d->info.output_scanline < d->info.output_height) {
    JSAMPROW target = cmyk ? cmyk_row : row;
    if (jpeg_read_scanlines(&d->info, &target, 1) != 1) return false;
    if (cmyk && profile->ok()) profile->Row(cmyk_row, row, width);
    if (cmyk && !profile->ok()) CmykRowToRgb(cmyk_row, row, width, inverted);
    resampler->Push(row);
  }
  jpeg_finish_decompress(&d->info);
  return true;
}

bool DecodeWith(Decoder* d, FILE* file, int box, const SpillRule& rule, DecodedJpeg* out) {
  if (!ReadHeader(d, file, box, out)) return false;
  SpillLargeCoefficients(&d->info, rule, &d->spill);
  const bool cmyk = d->info.out_color_space == JCS_CMYK;
  const int channels = cmyk ? 3 : (d->info.out_color_space == JCS_GRAYSCALE ? 1 : 3);
  const Size scaled{static_cast<int>(d->info.output_width),
                    static_cast<int>(d->info.output_height)};
  const Size target = FitWithin(out->full, box);
  const size_t bytes = size_t{static_cast<size_t>(target.width)} * target.height * channels;
  if (bytes == 0 || scaled.width <= 0 || scaled.height <= 0) return false;
  if (bytes > kDecodeBudget) {
    out->too_large = true;
    return false;
  }
  std::vector<uint8_t> row(static_cast<size_t>(scaled.width) * channels);
  std::vector<uint8_t> cmyk_row(cmyk ? static_cast<size_t>(scaled.width) * 4 : 0);
  const CmykToSrgb profile(cmyk ? out->icc : std::vector<uint8_t>{}, d->info.saw_Adobe_marker);
  if (cmyk) out->icc.clear();  // the pixels come out in sRGB
  RowResampler resampler(scaled, channels, target, &out->image);
  const bool read = ReadPixels(d, row.data(), cmyk_row.data(), &profile, &resampler);
  out->coefficients_in_file = Spilled(d->spill);
  return read;
}

}  // namespace

bool DecodeScaled(FILE* file, int box, DecodedJpeg* out, const SpillRule& rule) {
  Decoder decoder{};
  InstallErrorManager(&decoder.errors);
  // A failed allocation of ours throws past libjpeg: its decoder is released all the same.
  struct Release {
    Decoder* d;
    ~Release() {
      if (d->created) jpeg_destroy_decompress(&d->info);
      CloseSpill(&d->spill);
    }
  } release{&decoder};
  const bool ok = DecodeWith(&decoder, file, box, rule, out);
  const int code = decoder.errors.manager.msg_code;
  out->not_jpeg = !ok && (code == JERR_NO_SOI || code == JERR_INPUT_EMPTY);
  out->too_large =
      !ok && (out->too_large || code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY);
  return ok;
}

namespace {

bool ReadFirstComment(Decoder* d, FILE* file, std::string* comment) {
  d->info.err = &d->errors.manager;
  if (setjmp(d->errors.jump)) return false;
  jpeg_create_decompress(&d->info);
  d->created = true;
  jpeg_stdio_src(&d->info, file);
  jpeg_save_markers(&d->info, JPEG_COM, 0xFFFF);
  if (jpeg_read_header(&d->info, TRUE) != JPEG_HEADER_OK) return false;
  for (jpeg_saved_marker_ptr m = d->info.marker_list; m != nullptr; m = m->next) {
    if (m->marker != JPEG_COM) continue;
    comment->assign(reinterpret_cast<const char*>(m->data), m->data_length);
    return true;
  }
  return false;
}

}  // namespace

bool ReadComment(FILE* file, std::string* comment) {
  Decoder decoder{};
  InstallErrorManager(&decoder.errors);
  const bool found = ReadFirstComment(&decoder, file, comment);
  if (decoder.created) jpeg_destroy_decompress(&decoder.info);
  return found;
}

vantle_weight WeighDecode(FILE* file, int box, const SpillRule& rule) {
  Decoder decoder{};
  InstallErrorManager(&decoder.errors);
  DecodedJpeg header;
  vantle_weight weight{0, 0};
  if (ReadHeader(&decoder, file, box, &header)) {
    const Size scaled{static_cast<int>(decoder.info.output_width),
                      static_cast<int>(decoder.info.output_height)};
    const Size target = FitWithin(header.full, box);
    const size_t resized = size_t{static_cast<size_t>(target.width)} * target.height * 3;
    const size_t rows = RowResampler::WorkingBytes(scaled, 4, target);
    // While decoding: a progressive picture's coefficients, a few rows and the resized
    // picture; while encoding it: the picture and as many bytes of its coefficients.
    weight.memory =
        std::max(CoefficientBytesInMemory(decoder.info, rule) + rows + resized, 2 * resized);
    weight.work = FileBytes(file) * (decoder.info.progressive_mode ? 3 : 1);
  }
  if (decoder.created) jpeg_destroy_decompress(&decoder.info);
  return weight;
}

bool Encode(const Raster& image, FILE* file, int quality, std::string_view comment) {
  jpeg_compress_struct info{};
  ErrorManager errors;
  InstallErrorManager(&errors);
  info.err = &errors.manager;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(image.width);
  info.image_height = static_cast<JDIMENSION>(image.height);
  info.input_components = image.channels;
  info.in_color_space = image.channels == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  info.optimize_coding = TRUE;
  jpeg_start_compress(&info, TRUE);
  if (!comment.empty()) {
    jpeg_write_marker(&info, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.data()),
                      static_cast<unsigned int>(comment.size()));
  }
  const size_t stride = static_cast<size_t>(image.width) * image.channels;
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(&image.pixels[stride * info.next_scanline]);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  return true;
}

}  // namespace vantle
