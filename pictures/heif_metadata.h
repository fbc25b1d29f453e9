// The EXIF and XMP blocks of a HEIF (HEIC, AVIF) picture, read through libheif: exiv2 0.27
// does not find them in every HEIF file.
#ifndef LUMVANE_PICTURES_HEIF_METADATA_H_
#define LUMVANE_PICTURES_HEIF_METADATA_H_

#include <string>

namespace lumvane {

struct HeifMetadata {
  std::string exif;  // from its TIFF header on ("" when there is none)
  std::string xmp;   // the XMP packet ("" when there is none)
};

// The blocks of the primary image of the HEIF file at `path`, each at most `limit` bytes; both
// empty when it is no readable HEIF file.
HeifMetadata ReadHeifMetadata(const std::string& path, size_t limit);

}  // namespace lumvane

#endif  // LUMVANE_PICTURES_HEIF_METADATA_H_
