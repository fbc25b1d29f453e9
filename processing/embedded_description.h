// SPDX-License-Identifier: GPL-3.0-or-later
// The descriptions a photo carries inside it (XMP, IPTC and EXIF, read with exiv2): title,
// keywords, category, caption, author, the time it was taken and the camera's facts.
// Thread-safe.
#ifndef LUMVANE_PROCESSING_EMBEDDED_DESCRIPTION_H_
#define LUMVANE_PROCESSING_EMBEDDED_DESCRIPTION_H_

#include <optional>
#include <string>

#include "platform/file_time.h"

namespace lumvane {

struct EmbeddedDescription {
  std::string title;
  std::string subject;  // the keywords, each once, joined with blanks
  std::string category;
  std::string comment;
  std::string author;
  std::optional<LocalDateTime> taken;
  // How it was taken and its size in pixels, as a record's `details` lines (camera_details.h).
  std::string details;

  bool any_text() const {
    return !title.empty() || !subject.empty() || !category.empty() || !comment.empty() ||
           !author.empty();
  }
};

// Reads the photo at `path`. For each field the first source that has it wins: XMP, then
// IPTC, then EXIF; their texts UTF-8 where valid, else Windows-1252 (Latin-1 IPTC).
// Camera defaults such as "OLYMPUS DIGITAL CAMERA" are no caption. Never throws: a damaged or
// missing block gives what could be read, a file without metadata gives nothing; an XMP
// packet larger than kMaxXmpBytes is ignored.
EmbeddedDescription ReadEmbeddedDescription(const std::string& path);

inline constexpr size_t kMaxXmpBytes = size_t{4} << 20;

}  // namespace lumvane

#endif  // LUMVANE_PROCESSING_EMBEDDED_DESCRIPTION_H_
