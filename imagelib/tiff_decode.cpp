// TIFF over libtiff's RGBA interface: every photometric interpretation it knows (RGB, gray,
// palette, CMYK, YCbCr, 16 bits), strips or tiles, the first page only; the orientation tag
// and the ICC profile.
#include <tiffio.h>
#include <unistd.h>

#include <memory>

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

// Reads the pixels as stored (the orientation is applied later, with every format's).
bool ReadPixels(TIFF* tiff, WholePicture* out) {
  char message[1024];
  TIFFRGBAImage reader{};
  if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&reader, tiff, 1, message)) {
    return false;
  }
  reader.req_orientation = reader.orientation;  // no flips: rows come as they are stored
  const Size size = out->full;
  std::vector<uint32_t> abgr(size_t{static_cast<size_t>(size.width)} * size.height);
  const bool read = TIFFRGBAImageGet(&reader, abgr.data(), size.width, size.height) != 0;
  TIFFRGBAImageEnd(&reader);
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
