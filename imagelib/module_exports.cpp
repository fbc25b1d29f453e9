// The exports of libvantle_formats.so, which formats_module.cpp looks up by these names. None
// throws: a failed allocation is a failed picture.
#include "imagelib/whole_decode.h"

extern "C" __attribute__((visibility("default"))) bool lumvane_decode_whole(
    FILE* file, int format, vantle::WholePicture* out) {
  try {
    return vantle::DecodeWhole(file, static_cast<vantle::PictureFormat>(format), out);
  } catch (...) {
    out->too_large = true;
    return false;
  }
}

extern "C" __attribute__((visibility("default"))) bool lumvane_whole_size(FILE* file, int format,
                                                                          vantle::Size* size) {
  try {
    return vantle::ReadWholeSize(file, static_cast<vantle::PictureFormat>(format), size);
  } catch (...) {
    return false;
  }
}

extern "C" __attribute__((visibility("default"))) bool lumvane_heif_blocks(
    FILE* file, size_t limit, vantle::HeifBlocks* blocks) {
  try {
    return vantle::ReadHeifBlocks(file, limit, blocks);
  } catch (...) {
    return false;
  }
}
