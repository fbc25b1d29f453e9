// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/imagelib/test_pictures.h"

#include <gif_lib.h>
#include <lcms2.h>
#include <libheif/heif.h>
#include <png.h>
#include <tiffio.h>
#include <webp/encode.h>
#include <webp/mux.h>
#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <vector>

namespace testing_pictures {
namespace {

constexpr uint8_t kRed[4] = {230, 20, 20, 255}, kBlue[4] = {20, 20, 230, 255};
constexpr uint8_t kClear[4] = {0, 0, 0, 0};

const uint8_t* PixelOf(const Picture& p, int x) {
  if (x < p.width / 2) return kRed;
  return p.transparent_right ? kClear : kBlue;
}

std::vector<uint8_t> Rgba(const Picture& p) {
  std::vector<uint8_t> rgba;
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) rgba.insert(rgba.end(), PixelOf(p, x), PixelOf(p, x) + 4);
  }
  return rgba;
}

// A little-endian TIFF header with one IFD entry: Orientation (0x0112), SHORT, 1.
std::vector<uint8_t> ExifTiff(int orientation) {
  return {'I',
          'I',
          42,
          0,
          8,
          0,
          0,
          0,
          1,
          0,
          0x12,
          0x01,
          3,
          0,
          1,
          0,
          0,
          0,
          static_cast<uint8_t>(orientation),
          0,
          0,
          0,
          0,
          0,
          0,
          0};
}

bool WriteBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  return static_cast<bool>(out);
}

bool WritePng(const std::string& path, const Picture& p, int bits, bool palette) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  const std::vector<uint8_t> exif = ExifTiff(p.orientation);
  const std::vector<uint8_t> rgba = Rgba(p);
  std::vector<uint8_t> row(static_cast<size_t>(p.width) * 8);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, p.width, p.height, bits,
               palette ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB_ALPHA,
               bits == 16 ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color colours[2] = {{kRed[0], kRed[1], kRed[2]}, {kBlue[0], kBlue[1], kBlue[2]}};
  png_byte opacity[2] = {255, static_cast<png_byte>(p.transparent_right ? 0 : 255)};
  if (palette) png_set_PLTE(png, info, colours, 2);
  if (palette) png_set_tRNS(png, info, opacity, 2, nullptr);
  if (!p.icc.empty()) {
    png_set_iCCP(png, info, "picture", PNG_COMPRESSION_TYPE_BASE, p.icc.data(),
                 static_cast<png_uint_32>(p.icc.size()));
  }
  if (p.orientation != 1) png_set_eXIf_1(png, info, exif.size(), const_cast<uint8_t*>(exif.data()));
  png_write_info(png, info);
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        const uint8_t* px = &rgba[(static_cast<size_t>(y) * p.width + x) * 4];
        if (palette) row[x] = x < p.width / 2 ? 0 : 1;
        for (int i = 0; !palette && i < 4; ++i) {
          if (bits == 8) row[4 * x + i] = px[i];
          if (bits == 16) row[8 * x + 2 * i] = row[8 * x + 2 * i + 1] = px[i];
        }
      }
      png_write_row(png, row.data());
    }
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(file) == 0;
}

// Two frames: the picture, then all green, which must never show.
bool WriteGif(const std::string& path, const Picture& p) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  if (gif == nullptr) return false;
  const GifColorType colours[4] = {{230, 20, 20}, {20, 20, 230}, {20, 230, 20}, {0, 0, 0}};
  ColorMapObject* map = GifMakeMapObject(4, colours);
  bool ok = EGifPutScreenDesc(gif, p.width, p.height, 2, 0, map) == GIF_OK;
  GraphicsControlBlock control{DISPOSAL_UNSPECIFIED, false, 10, p.transparent_right ? 1 : -1};
  GifByteType extension[4];
  EGifGCBToExtension(&control, extension);
  std::vector<GifPixelType> line(p.width);
  for (int frame = 0; frame < 2 && ok; ++frame) {
    ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, extension) == GIF_OK &&
         EGifPutImageDesc(gif, 0, 0, p.width, p.height, false, nullptr) == GIF_OK;
    for (int x = 0; x < p.width; ++x) line[x] = frame == 1 ? 2 : (x < p.width / 2 ? 0 : 1);
    for (int y = 0; y < p.height && ok; ++y) ok = EGifPutLine(gif, line.data(), p.width) == GIF_OK;
  }
  GifFreeMapObject(map);
  return EGifCloseFile(gif, &error) == GIF_OK && ok;
}

// `bits` 8 or 16 a sample; `floating`: 16 or 32 bits of floating point in linear light.
bool WriteTiff(const std::string& path, const Picture& p, bool cmyk, int pages, int bits = 8,
               bool floating = false) {
  TIFF* tiff = TIFFOpen(path.c_str(), "w");
  if (tiff == nullptr) return false;
  const int samples = cmyk ? 4 : 3;
  std::vector<uint8_t> row(static_cast<size_t>(p.width) * samples);
  std::vector<uint8_t> deep(row.size() * (bits / 8));
  const auto widen = [&] {
    for (size_t i = 0; i < row.size(); ++i) {
      const double v = row[i] / 255.0;
      const float linear =
          static_cast<float>(v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
      if (bits == 16 && !floating) {
        reinterpret_cast<uint16_t*>(deep.data())[i] = static_cast<uint16_t>(row[i] * 257);
      }
      if (bits == 16 && floating) {  // half precision: the exponent and ten bits of fraction
        int exponent = 0;
        const float fraction = std::frexp(linear, &exponent);  // linear = fraction * 2^exponent
        const auto half = linear == 0
                              ? uint16_t{0}
                              : static_cast<uint16_t>((exponent + 14) << 10 |
                                                      static_cast<int>((fraction * 2 - 1) * 1024));
        reinterpret_cast<uint16_t*>(deep.data())[i] = half;
      }
      if (bits == 32) reinterpret_cast<float*>(deep.data())[i] = linear;
    }
    return bits == 8 ? row.data() : deep.data();
  };
  bool ok = true;
  for (int page = 0; page < pages && ok; ++page) {
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, p.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, p.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, bits);
    if (floating) TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, SAMPLEFORMAT_IEEEFP);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, cmyk ? PHOTOMETRIC_SEPARATED : PHOTOMETRIC_RGB);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, p.orientation);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, 8);
    if (!p.icc.empty()) TIFFSetField(tiff, TIFFTAG_ICCPROFILE, p.icc.size(), p.icc.data());
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* px = page == 1 ? kClear : PixelOf(p, x);
      uint8_t* out = &row[static_cast<size_t>(x) * samples];
      if (!cmyk) std::memcpy(out, px, 3);
      for (int i = 0; cmyk && i < 3; ++i) out[i] = static_cast<uint8_t>(255 - px[i]);
      if (cmyk) out[3] = 0;
    }
    const uint8_t* line = widen();
    for (int y = 0; y < p.height && ok; ++y) {
      ok = TIFFWriteScanline(tiff, const_cast<uint8_t*>(line), y, 0) == 1;
    }
    ok = ok && TIFFWriteDirectory(tiff) == 1;
  }
  TIFFClose(tiff);
  return ok;
}

// 24 bits, rows bottom up, each padded to four bytes.
bool WriteBmp(const std::string& path, const Picture& p) {
  const uint32_t stride = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
  const uint32_t size = 54 + stride * p.height;
  std::vector<uint8_t> bmp(size, 0);
  auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) bmp[at + i] = static_cast<uint8_t>(value >> (8 * i));
  };
  bmp[0] = 'B', bmp[1] = 'M';
  put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, p.width, 4), put(22, p.height, 4);
  put(26, 1, 2), put(28, 24, 2);
  for (int y = 0; y < p.height; ++y) {
    for (int x = 0; x < p.width; ++x) {
      const uint8_t* px = PixelOf(p, x);
      uint8_t* out = &bmp[54 + stride * (p.height - 1 - y) + 3 * x];
      out[0] = px[2], out[1] = px[1], out[2] = px[0];
    }
  }
  return WriteBytes(path, bmp.data(), bmp.size());
}

bool WriteWebp(const std::string& path, const Picture& p, bool lossless) {
  const std::vector<uint8_t> rgba = Rgba(p);
  uint8_t* encoded = nullptr;
  const size_t size =
      lossless ? WebPEncodeLosslessRGBA(rgba.data(), p.width, p.height, p.width * 4, &encoded)
               : WebPEncodeRGBA(rgba.data(), p.width, p.height, p.width * 4, 90, &encoded);
  if (size == 0) return false;
  const WebPData image{encoded, size};
  WebPMux* mux = WebPMuxCreate(&image, 1);
  const std::vector<uint8_t> exif = ExifTiff(p.orientation);
  const WebPData exif_data{exif.data(), exif.size()};
  WebPData assembled{};
  const bool ok =
      mux != nullptr &&
      (p.orientation == 1 || WebPMuxSetChunk(mux, "EXIF", &exif_data, 1) == WEBP_MUX_OK) &&
      WebPMuxAssemble(mux, &assembled) == WEBP_MUX_OK &&
      WriteBytes(path, assembled.bytes, assembled.size);
  WebPDataClear(&assembled);
  WebPMuxDelete(mux);
  WebPFree(encoded);
  return ok;
}

bool WriteHeif(const std::string& path, const Picture& p, heif_compression_format compression) {
  heif_context* context = heif_context_alloc();
  heif_encoder* encoder = nullptr;
  heif_image* image = nullptr;
  heif_encoding_options* options = heif_encoding_options_alloc();
  bool ok =
      heif_context_get_encoder_for_format(context, compression, &encoder).code == heif_error_Ok &&
      heif_image_create(p.width, p.height, heif_colorspace_RGB, heif_chroma_interleaved_RGBA,
                        &image)
              .code == heif_error_Ok &&
      heif_image_add_plane(image, heif_channel_interleaved, p.width, p.height, 8).code ==
          heif_error_Ok;
  if (ok) {
    heif_encoder_set_lossy_quality(encoder, 90);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const std::vector<uint8_t> rgba = Rgba(p);
    for (int y = 0; y < p.height; ++y) {
      std::memcpy(plane + static_cast<size_t>(stride) * y,
                  &rgba[static_cast<size_t>(y) * p.width * 4], p.width * 4);
    }
    options->image_orientation = static_cast<heif_orientation>(p.orientation);
    ok = heif_context_encode_image(context, image, encoder, options, nullptr).code ==
             heif_error_Ok &&
         heif_context_write_to_file(context, path.c_str()).code == heif_error_Ok;
  }
  heif_encoding_options_free(options);
  heif_image_release(image);
  if (encoder != nullptr) heif_encoder_release(encoder);
  heif_context_free(context);
  return ok;
}

}  // namespace

bool WritePicture(const std::string& path, const Picture& p) {
  switch (p.format) {
    case Format::kPng:
      return WritePng(path, p, 8, false);
    case Format::kPng16:
      return WritePng(path, p, 16, false);
    case Format::kPngPalette:
      return WritePng(path, p, 8, true);
    case Format::kGif:
      return WriteGif(path, p);
    case Format::kTiff:
      return WriteTiff(path, p, false, 1);
    case Format::kTiffCmyk16:
      return WriteTiff(path, p, true, 1, 16);
    case Format::kTiffFloat:
      return WriteTiff(path, p, false, 1, 32, true);
    case Format::kTiffHalf:
      return WriteTiff(path, p, false, 1, 16, true);
    case Format::kTiffCmyk:
      return WriteTiff(path, p, true, 1);
    case Format::kTiffTwoPages:
      return WriteTiff(path, p, false, 2);
    case Format::kBmp:
      return WriteBmp(path, p);
    case Format::kWebpLossy:
      return WriteWebp(path, p, false);
    case Format::kWebpLossless:
      return WriteWebp(path, p, true);
    case Format::kHeic:
      return WriteHeif(path, p, heif_compression_HEVC);
    case Format::kAvif:
      return WriteHeif(path, p, heif_compression_AV1);
  }
  return false;
}

std::vector<uint8_t> SavedAndClosed(void* profile) {
  cmsUInt32Number size = 0;
  cmsSaveProfileToMem(profile, nullptr, &size);
  std::vector<uint8_t> bytes(size);
  cmsSaveProfileToMem(profile, bytes.data(), &size);
  cmsCloseProfile(profile);
  return bytes;
}

std::vector<uint8_t> CmykProfile(bool swapped) {
  cmsHPROFILE lab = cmsCreateLab4Profile(nullptr), srgb = cmsCreate_sRGBProfile();
  cmsHTRANSFORM to_lab = cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_LabV2_16, 0, 0);
  struct Sampler {
    cmsHTRANSFORM to_lab;
    bool swapped;
  } sampler{to_lab, swapped};
  cmsStage* clut = cmsStageAllocCLut16bit(nullptr, 2, 4, 3, nullptr);
  cmsStageSampleCLut16bit(
      clut,
      [](const cmsUInt16Number ink[], cmsUInt16Number out[], void* data) -> cmsInt32Number {
        const auto* s = static_cast<const Sampler*>(data);
        const double k = 1 - ink[3] / 65535.0;
        const double c = 1 - ink[s->swapped ? 1 : 0] / 65535.0;
        const double m = 1 - ink[s->swapped ? 0 : 1] / 65535.0;
        const double rgb[3] = {c * k, m * k, (1 - ink[2] / 65535.0) * k};
        cmsDoTransform(s->to_lab, rgb, out, 1);
        return 1;
      },
      &sampler, 0);
  cmsPipeline* pipeline = cmsPipelineAlloc(nullptr, 4, 3);
  cmsPipelineInsertStage(pipeline, cmsAT_END, clut);
  cmsHPROFILE cmyk = cmsCreateProfilePlaceholder(nullptr);
  cmsSetProfileVersion(cmyk, 2.1);  // a version 4 profile saves empty
  cmsSetDeviceClass(cmyk, cmsSigOutputClass);
  cmsSetColorSpace(cmyk, cmsSigCmykData);
  cmsSetPCS(cmyk, cmsSigLabData);
  cmsWriteTag(cmyk, cmsSigAToB0Tag, pipeline);
  std::vector<uint8_t> bytes = SavedAndClosed(cmyk);
  cmsCloseProfile(lab);
  cmsCloseProfile(srgb);
  cmsPipelineFree(pipeline);
  cmsDeleteTransform(to_lab);
  return bytes;
}

std::string PngHeaderClaiming(int width, int height) {
  uint8_t chunk[17] = {'I', 'H', 'D', 'R'};
  for (int i = 0; i < 4; ++i) {
    chunk[4 + i] = static_cast<uint8_t>(width >> (24 - 8 * i));
    chunk[8 + i] = static_cast<uint8_t>(height >> (24 - 8 * i));
  }
  chunk[12] = 8, chunk[13] = 2;  // 8 bits, RGB
  const uLong crc = crc32(0, chunk, sizeof chunk);
  std::string png = "\x89PNG\r\n\x1A\n";
  png += std::string("\0\0\0\x0D", 4) + std::string(reinterpret_cast<char*>(chunk), sizeof chunk);
  for (int i = 0; i < 4; ++i) png += static_cast<char>(crc >> (24 - 8 * i));
  return png;
}

std::string PaletteTiffWithItsColourMapLast() {
  std::string tiff = "II*";
  const auto put = [&tiff](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) tiff += static_cast<char>(value >> (8 * i));
  };
  put(0, 1), put(8, 4);
  constexpr uint32_t kPixels = 8 + 2 + 10 * 12 + 4, kMap = kPixels + 16;  // a 4 x 4 picture
  const uint32_t entries[][4] = {
      {256, 3, 1, 4},       {257, 3, 1, 4}, {258, 3, 1, 8}, {259, 3, 1, 1},  {262, 3, 1, 3},
      {273, 4, 1, kPixels}, {277, 3, 1, 1}, {278, 3, 1, 4}, {279, 4, 1, 16}, {320, 3, 768, kMap}};
  put(10, 2);
  for (const auto& e : entries) put(e[0], 2), put(e[1], 2), put(e[2], 4), put(e[3], 4);
  put(0, 4);
  for (int i = 0; i < 16; ++i) put(1, 1);  // every pixel the colour at index 1
  for (int channel = 0; channel < 3; ++channel) {
    for (int i = 0; i < 256; ++i) put(channel == 0 && i == 1 ? 0xFFFF : 0, 2);  // 1 is red
  }
  return tiff;
}

std::string WithInflatingTexts(const std::string& png, int chunks, size_t inflated) {
  const std::string text(inflated, 'A');
  std::vector<Bytef> packed(compressBound(text.size()));
  uLongf packed_size = packed.size();
  compress2(packed.data(), &packed_size, reinterpret_cast<const Bytef*>(text.data()), text.size(),
            9);
  std::string body = std::string("zTXt") + "Comment" + std::string(2, '\0') +
                     std::string(reinterpret_cast<char*>(packed.data()), packed_size);
  std::string chunk;
  for (int i = 3; i >= 0; --i) chunk += static_cast<char>((body.size() - 4) >> (8 * i));
  const uLong crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size());
  chunk += body;
  for (int i = 3; i >= 0; --i) chunk += static_cast<char>(crc >> (8 * i));
  std::string out = png.substr(0, 33);  // the signature and IHDR
  for (int i = 0; i < chunks; ++i) out += chunk;
  return out + png.substr(33);
}

}  // namespace testing_pictures
