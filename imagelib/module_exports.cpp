// SPDX-License-Identifier: GPL-3.0-or-later
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

extern "C" __attribute__((visibility("default"))) bool lumvane_heif_blocks(
    FILE* file, size_t limit, vantle::HeifBlocks* blocks) {
  try {
    return vantle::ReadHeifBlocks(file, limit, blocks);
  } catch (...) {
    return false;
  }
}

extern "C" __attribute__((visibility("default"))) bool lumvane_clip_facts(
    FILE* file, vantle::ClipFacts* facts) {
  try {
    return vantle::ReadClipFacts(file, facts);
  } catch (...) {
    return false;
  }
}

extern "C" __attribute__((visibility("default"))) int lumvane_tell_format(FILE* file, int sniffed) {
  try {
    return static_cast<int>(vantle::TellFormat(file, static_cast<vantle::PictureFormat>(sniffed)));
  } catch (...) {
    return sniffed;
  }
}

extern "C" __attribute__((visibility("default"))) size_t lumvane_whole_bytes(FILE* file, int format,
                                                                             int box) {
  try {
    return vantle::WholeBytes(file, static_cast<vantle::PictureFormat>(format), box);
  } catch (...) {
    return 0;
  }
}
