// SPDX-License-Identifier: GPL-3.0-or-later
// What a video clip's record says of it, from the facts its container gives (libvantle).
#ifndef LUMVANE_PROCESSING_CLIP_FACTS_H_
#define LUMVANE_PROCESSING_CLIP_FACTS_H_

#include <optional>
#include <string>

#include "imagelib/vantle.h"
#include "platform/file_time.h"

namespace lumvane {

struct ClipDescription {
  std::string title;  // its title and comment tags, "" when it has none
  std::string comment;
  std::optional<LocalDateTime> made;  // when it was made, in this machine's local time
  std::string duration;               // its length as a thumbnail shows it: "0:03", "1:02:03"
  bool playable = false;              // current browsers play it (PlaysInBrowsers)
  // The record's `details` lines: "clip=0:03" (its length), "video=h264", "playable=1" when
  // current browsers play it, "pixels=1920x1080".
  std::string details;
};

// "0:03", "12:40", "1:02:03": minutes and seconds, hours when it has them; "" when unknown.
std::string DurationText(double seconds);

// Whether current browsers play the clip: H.264 or AV1 in ISO media or QuickTime, VP8, VP9 or
// AV1 in Matroska or WebM, with AAC, MP3, Opus or Vorbis sound or none.
bool PlaysInBrowsers(const vantle_clip& clip);

// The time a clip's "creation_time" (UTC, "2024-07-14T09:30:00.000000Z") or QuickTime's
// "creationdate" (the local time where it was made, "2024-07-14T11:30:00+0200") gives.
std::optional<LocalDateTime> ClipMade(const std::string& created);

// Reads the clip at `path`; nullopt when it is no readable clip.
std::optional<ClipDescription> ReadClipDescription(const std::string& path);

}  // namespace lumvane

#endif  // LUMVANE_PROCESSING_CLIP_FACTS_H_
