// SPDX-License-Identifier: GPL-3.0-or-later
#include "processing/clip_facts.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "pictures/picture_record.h"

namespace lumvane {
namespace {

bool OneOf(const char* value, std::initializer_list<const char*> choices) {
  for (const char* choice : choices) {
    if (std::strcmp(value, choice) == 0) return true;
  }
  return false;
}

}  // namespace

std::string DurationText(double seconds) {
  if (!(seconds > 0) || seconds > 1e7) return "";
  const long whole = std::lround(seconds) > 0 ? std::lround(seconds) : 1;
  char text[32];
  if (whole >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60, whole % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
  }
  return text;
}

bool PlaysInBrowsers(const vantle_clip& clip) {
  const bool iso = std::strncmp(clip.container, "mov,mp4", 7) == 0;
  const bool matroska = std::strcmp(clip.container, "matroska,webm") == 0;
  const bool video = (iso && OneOf(clip.video, {"h264", "av1"})) ||
                     (matroska && OneOf(clip.video, {"vp8", "vp9", "av1"}));
  return video && OneOf(clip.audio, {"", "aac", "mp3", "opus", "vorbis"});
}

std::optional<LocalDateTime> ClipMade(const std::string& created) {
  LocalDateTime time;
  char zone[16] = "";
  const int read =
      std::sscanf(created.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%15s", &time.year, &time.month,
                  &time.day, &time.hour, &time.minute, &time.second, zone);
  if (read < 6 || time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 ||
      time.year < 1900) {
    return std::nullopt;
  }
  // A fraction of a second, then "Z" or nothing: UTC; an offset: the local time it names.
  const char* rest = zone[0] == '.' ? zone + std::strspn(zone + 1, "0123456789") + 1 : zone;
  if (*rest == '+' || *rest == '-') return time;
  return LocalOfUtc(time);
}

std::optional<ClipDescription> ReadClipDescription(const std::string& path) {
  vantle_clip clip{};
  if (vantle_clip_facts(path.c_str(), &clip) != 0) return std::nullopt;
  ClipDescription description;
  description.title = clip.title;
  description.comment = clip.comment;
  description.made = ClipMade(clip.created);
  description.duration = DurationText(clip.seconds);
  AddDetail(&description.details, "clip",
            description.duration.empty() ? "?" : description.duration);
  AddDetail(&description.details, "video", clip.video);
  description.playable = PlaysInBrowsers(clip);
  if (description.playable) AddDetail(&description.details, "playable", "1");
  if (clip.width > 0 && clip.height > 0) {
    AddDetail(&description.details, "pixels",
              std::to_string(clip.width) + " x " + std::to_string(clip.height));
  }
  return description;
}

}  // namespace lumvane
