// SPDX-License-Identifier: GPL-3.0-or-later
#include "imagelib/exif_orientation.h"

#include <libexif/exif-data.h>

#include <cstring>
#include <vector>

namespace vantle {

int ExifOrientation(const uint8_t* data, size_t length) {
  static constexpr uint8_t kHeader[6] = {'E', 'x', 'i', 'f', 0, 0};
  if (data == nullptr || length < 8 || length > 0xFFFF * 4) return 1;
  std::vector<uint8_t> block;
  if (std::memcmp(data, kHeader, sizeof kHeader) != 0) {  // libexif wants the header
    block.assign(kHeader, kHeader + sizeof kHeader);
    block.insert(block.end(), data, data + length);
    data = block.data();
    length = block.size();
  }
  ExifData* exif = exif_data_new_from_data(data, static_cast<unsigned int>(length));
  if (exif == nullptr) return 1;
  int orientation = 1;
  ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
  if (entry != nullptr && entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 &&
      entry->data != nullptr && entry->size >= 2) {
    orientation = exif_get_short(entry->data, exif_data_get_byte_order(exif));
  }
  exif_data_unref(exif);
  return (orientation >= 1 && orientation <= 8) ? orientation : 1;
}

}  // namespace vantle
