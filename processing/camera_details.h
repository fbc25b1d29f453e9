// SPDX-License-Identifier: GPL-3.0-or-later
// The facts a photo's EXIF (or XMP) block gives about how it was taken, as the record's
// `details` lines. Private to processing/: it speaks exiv2.
#ifndef LUMVANE_PROCESSING_CAMERA_DETAILS_H_
#define LUMVANE_PROCESSING_CAMERA_DETAILS_H_

#include <exiv2/exiv2.hpp>

#include <string>

#include "pictures/picture_record.h"

namespace lumvane {

// "camera=Canon EOS 5D\nlens=...\naperture=f/2.8\nexposure=1/250 s\niso=100\nfocal=50 mm\n"
// "gps=48.858222,2.294500", each line only when the photo has it; "" for none. Values hold no
// line break. May throw what exiv2 throws on a value of an unexpected type.
std::string CameraDetails(const Exiv2::ExifData& exif, const Exiv2::XmpData& xmp);

// The text of `key`, trimmed, in UTF-8 where valid, else read as Windows-1252; "" when the
// photo lacks it. `windows_xp`: one of Windows' UTF-16 XP tags. (Beside the embedded
// descriptions, which read their texts the same way.)
std::string ExifText(const Exiv2::ExifData& exif, const char* key, bool windows_xp = false);

}  // namespace lumvane

#endif  // LUMVANE_PROCESSING_CAMERA_DETAILS_H_
