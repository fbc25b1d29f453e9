// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/clip_preview.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/program.h"
#include "platform/temporary_files.h"

namespace lumvane {

std::string ClipPreviewName(const std::string& display) {
  return display.substr(0, display.rfind('.')) + ".mp4";
}

Status MakeClipPreview(const std::string& clip, const std::string& preview) {
  const StatusOr<std::string> reserved =
      CreateEmptyTemporary(SplitNativePath(preview).folder, "preview");
  if (!reserved.ok()) return reserved.status();
  const std::string temp = *reserved;
  // The shorter side at most 720 pixels, both even, after the clip is turned upright.
  const char* const kScale = "scale='if(gt(iw,ih),-2,min(720,iw))':'if(gt(iw,ih),min(720,ih),-2)'";
  Status made =
      RunProgram({"ffmpeg",     "-nostdin", "-loglevel", "error",    "-y",       "-i",
                  clip,         "-map",     "0:v:0",     "-map",     "0:a:0?",   "-vf",
                  kScale,       "-c:v",     "libx264",   "-preset",  "veryfast", "-crf",
                  "23",         "-maxrate", "3M",        "-bufsize", "6M",       "-pix_fmt",
                  "yuv420p",    "-c:a",     "aac",       "-b:a",     "128k",     "-movflags",
                  "+faststart", "-threads", "1",         "-f",       "mp4",      temp});
  if (made.code() == StatusCode::kNotFound) {
    made = Status::FromErrno(ENOENT, "the ffmpeg program is not installed (Debian: ffmpeg)");
  }
  if (made.ok()) made = RenamePath(temp, preview);
  if (!made.ok()) (void)RemoveFile(temp);
  return made;
}

}  // namespace lumvane
