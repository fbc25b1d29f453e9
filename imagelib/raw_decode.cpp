// SPDX-License-Identifier: GPL-3.0-or-later
// Camera RAW photos through LibRaw: the embedded JPEG preview when it covers the display box
// (no sensor data is read then), else the sensor's data developed at half size.
#include <libraw/libraw.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "imagelib/jpeg_codec.h"
#include "imagelib/whole_decode.h"

namespace vantle {
namespace {

// LibRaw opens files by name: the descriptor already open (and checked to be a regular file)
// is named through /proc, so that LibRaw reads what was checked.
std::string DescriptorPath(FILE* file) {
  return "/proc/self/fd/" + std::to_string(fileno(file));
}

// LibRaw's turn of the sensor's image (0, 3, 5, 6) as an EXIF orientation.
int OrientationOfFlip(int flip) {
  switch (flip) {
    case 3:
      return 3;
    case 5:
      return 8;
    case 6:
      return 6;
    default:
      return 1;
  }
}

// LibRaw calls this when the data ends early or is corrupt; it otherwise fills the rest in.
void NoteDataError(void* seen, const char*, int) {
  *static_cast<bool*>(seen) = true;
}

// LibRaw, telling where the sensor's data ends.
class Raw : public LibRaw {
 public:
  // False when the file ends before the sensor's data does: a copy cut short, whose preview
  // (stored before that data) alone would pass for the whole photo.
  bool HoldsItsData() {
    const auto& unpacker = libraw_internal_data.unpacker_data;
    const INT64 size = libraw_internal_data.internal_data.input->size();
    return unpacker.data_offset <= size && unpacker.data_offset + unpacker.data_size <= size;
  }
};

struct OpenedRaw {
  std::unique_ptr<Raw> raw = std::make_unique<Raw>();
  bool data_error = false;
};

// Opens `file` as a camera RAW; false when LibRaw knows it as none (a plain TIFF among them).
bool OpenRaw(FILE* file, OpenedRaw* opened) {
  Raw& raw = *opened->raw;
  raw.set_dataerror_handler(NoteDataError, &opened->data_error);
  return raw.open_file(DescriptorPath(file).c_str()) == LIBRAW_SUCCESS &&
         raw.imgdata.idata.raw_count > 0 && raw.imgdata.sizes.width > 0 &&
         raw.imgdata.sizes.height > 0;
}

Raster AsRgb(Raster image) {
  if (image.channels != 1) return image;
  Raster rgb{image.width, image.height, 3, std::vector<uint8_t>(image.pixels.size() * 3)};
  for (size_t i = 0; i < image.pixels.size(); ++i) {
    std::memset(&rgb.pixels[i * 3], image.pixels[i], 3);
  }
  return rgb;
}

// The embedded JPEG preview, decoded at the display box; false when there is none that large.
bool FromPreview(OpenedRaw& opened, WholePicture* out) {
  LibRaw& raw = *opened.raw;
  const libraw_thumbnail_t& thumb = raw.imgdata.thumbnail;
  if (std::max(thumb.twidth, thumb.theight) < kRawPreviewFloor) return false;
  if (thumb.tlength == 0 || thumb.tlength > kWholeBudget / 4) return false;
  if (raw.unpack_thumb() != LIBRAW_SUCCESS || thumb.tformat != LIBRAW_THUMBNAIL_JPEG ||
      thumb.thumb == nullptr) {
    return false;
  }
  std::unique_ptr<FILE, int (*)(FILE*)> memory(fmemopen(thumb.thumb, thumb.tlength, "rb"),
                                               std::fclose);
  DecodedJpeg decoded;
  if (memory == nullptr || !DecodeScaled(memory.get(), kRawPreviewFloor, &decoded)) return false;
  out->image = AsRgb(std::move(decoded.image));
  out->icc = std::move(decoded.icc);
  out->orientation = OrientationOfFlip(raw.imgdata.sizes.flip);
  return true;
}

// The sensor's data at half size, developed to sRGB and turned upright by LibRaw.
bool FromSensor(OpenedRaw& opened, WholePicture* out) {
  LibRaw& raw = *opened.raw;
  const libraw_image_sizes_t& sizes = raw.imgdata.sizes;
  const size_t sensor = size_t{sizes.raw_width} * sizes.raw_height * 2;
  const size_t half = size_t{sizes.width / 2u + 1} * (sizes.height / 2u + 1);
  if (sensor + half * 8 > kWholeBudget) {
    out->too_large = true;
    return false;
  }
  raw.imgdata.params.half_size = 1;
  raw.imgdata.params.use_camera_wb = 1;
  raw.imgdata.params.output_bps = 8;
  if (raw.unpack() != LIBRAW_SUCCESS || opened.data_error ||
      raw.dcraw_process() != LIBRAW_SUCCESS) {
    return false;
  }
  int error = 0;
  std::unique_ptr<libraw_processed_image_t, void (*)(libraw_processed_image_t*)> image(
      raw.dcraw_make_mem_image(&error), LibRaw::dcraw_clear_mem);
  if (image == nullptr || image->colors != 3 || image->bits != 8 || image->width == 0) {
    return false;
  }
  if (!TakeSize({image->width, image->height}, 0, out)) return false;
  std::memcpy(out->image.pixels.data(), image->data, out->image.pixels.size());
  return true;
}

}  // namespace

bool DecodeRaw(FILE* file, WholePicture* out, bool* not_raw) {
  OpenedRaw opened;
  *not_raw = !OpenRaw(file, &opened);
  if (*not_raw) return false;
  const libraw_image_sizes_t& sizes = opened.raw->imgdata.sizes;
  if (!WithinBudget({sizes.width, sizes.height}, 0, out)) return false;
  if (!opened.raw->HoldsItsData()) return false;
  return FromPreview(opened, out) || (!out->too_large && FromSensor(opened, out));
}

bool ReadRawSize(FILE* file, Size* size) {
  OpenedRaw opened;
  if (!OpenRaw(file, &opened)) return false;
  *size = {opened.raw->imgdata.sizes.width, opened.raw->imgdata.sizes.height};
  return true;
}

size_t RawBytes(FILE* file, int box) {
  OpenedRaw opened;
  if (!OpenRaw(file, &opened)) return 0;
  const libraw_image_sizes_t& sizes = opened.raw->imgdata.sizes;
  const libraw_thumbnail_t& thumb = opened.raw->imgdata.thumbnail;
  const Size fitted = FitWithin({sizes.width, sizes.height}, box);
  const size_t image = size_t{static_cast<size_t>(fitted.width)} * fitted.height * 3;
  const size_t object = sizeof(LibRaw);
  if (std::max(thumb.twidth, thumb.theight) >= kRawPreviewFloor) {
    // The preview's bytes and its image, decoded at up to twice the display box.
    return object + thumb.tlength + size_t{4} * kRawPreviewFloor * kRawPreviewFloor * 3 + image;
  }
  const size_t half = size_t{sizes.width / 2u + 1} * (sizes.height / 2u + 1);
  return std::min(object + size_t{sizes.raw_width} * sizes.raw_height * 2 + half * 11,
                  kWholeBudget) +
         2 * image;
}

}  // namespace vantle
