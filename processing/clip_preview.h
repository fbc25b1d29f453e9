// SPDX-License-Identifier: GPL-3.0-or-later
// A clip that browsers cannot play (a phone's HEVC, a camcorder's MPEG-2) made into one they
// can: H.264 of at most 720 lines and AAC sound, in an MP4 that plays before it has loaded.
#ifndef LUMVANE_PROCESSING_CLIP_PREVIEW_H_
#define LUMVANE_PROCESSING_CLIP_PREVIEW_H_

#include <string>

#include "platform/status.h"

namespace lumvane {

// The preview's name for a picture whose display image is `display` ("_K7Q2M41.jpg" gives
// "_K7Q2M41.mp4").
std::string ClipPreviewName(const std::string& display);

// Writes the preview of `clip` to `preview` with the ffmpeg program, on one thread, beside it
// first and renamed into place when whole. An error says why: the program is missing, or what
// it said.
Status MakeClipPreview(const std::string& clip, const std::string& preview);

}  // namespace lumvane

#endif  // LUMVANE_PROCESSING_CLIP_PREVIEW_H_
