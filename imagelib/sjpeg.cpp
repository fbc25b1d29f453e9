#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "imagelib/jpeg_codec.h"
#include "imagelib/raster.h"
#include "imagelib/vantle.h"

namespace vantle {
namespace {

constexpr int kDisplayBox = 1600;
constexpr int kMaxThumbnailSize = 8192;

// Makes the upright, resized picture that `size` asks for.
bool Render(const char* in, int box, Raster* out) {
  FILE* file = std::fopen(in, "rb");
  if (file == nullptr) return false;
  DecodedJpeg decoded;
  const bool ok = DecodeScaled(file, box, &decoded);
  std::fclose(file);
  if (!ok) return false;
  const Size target = FitWithin(decoded.full, box);
  Raster sized;
  if (target.width == decoded.image.width && target.height == decoded.image.height) {
    sized = std::move(decoded.image);
  } else if (!Resample(decoded.image, target, &sized)) {
    return false;
  }
  *out = ApplyOrientation(std::move(sized), decoded.orientation);
  return true;
}

// Writes `image` to a temporary file beside `out` and renames it over `out`, so that a
// failure never leaves a broken or partial output behind.
bool WriteReplacing(const Raster& image, const char* out) {
  std::string temp = std::string(out) + ".tmp-XXXXXX";
  const int fd = mkstemp(temp.data());
  if (fd < 0) return false;
  fchmod(fd, 0644);
  FILE* file = fdopen(fd, "wb");
  if (file == nullptr) {
    close(fd);
    unlink(temp.c_str());
    return false;
  }
  bool ok = Encode(image, file);
  ok = (std::fflush(file) == 0) && ok;
  ok = (std::fclose(file) == 0) && ok;
  ok = ok && std::rename(temp.c_str(), out) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace
}  // namespace vantle

extern "C" __attribute__((visibility("default"))) int sjpeg(const char* in, const char* out,
                                                            int size) {
  if (in == nullptr || out == nullptr || size < 0 || size > vantle::kMaxThumbnailSize) return 1;
  const int box = size == 0 ? vantle::kDisplayBox : 2 * size;
  try {
    vantle::Raster image;
    if (!vantle::Render(in, box, &image)) return 1;
    return vantle::WriteReplacing(image, out) ? 0 : 1;
  } catch (...) {  // std::bad_alloc: report failure, never terminate the caller
    return 1;
  }
}
