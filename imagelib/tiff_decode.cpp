// TIFF over libtiff's RGBA interface: every photometric interpretation it knows (RGB, gray,
// palette, CMYK, YCbCr, 16 bits), strips or tiles, the first page only; the orientation tag
// and the ICC profile, which 8-bit CMYK is converted through.
#include <tiffio.h>
#include <unistd.h>

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

// Reads the pixels as stored (the orientation is applied later, with every format's).
bool ReadPixels(TIFF* tiff, WholePicture* out) {
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
