// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes what cameras and phones make besides photos: clips (read by FFmpeg's libraries) and
// RAW photos (read by LibRaw), through every entry that reads them. Each call must return one
// of its codes and never crash, print or exit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "imagelib/vantle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = "/tmp/camera-fuzz-" + std::to_string(getpid());
  const std::string out = in + ".out.jpg";
  FILE* file = std::fopen(in.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  vantle_clip clip{};
  const int facts = vantle_clip_facts(in.c_str(), &clip);
  if (facts != 0 && facts != -1) __builtin_trap();
  if (facts == 0 && (clip.created[sizeof clip.created - 1] != '\0' ||
                     std::strlen(clip.video) >= sizeof clip.video)) {
    __builtin_trap();
  }
  sjpeg_weigh(in.c_str(), 0);
  const int result = sjpeg_noted(in.c_str(), out.c_str(), 0, nullptr, VANTLE_EVERY_FORMAT, nullptr);
  if (result < VANTLE_DONE || result > VANTLE_TOO_LARGE) __builtin_trap();
  if (result == VANTLE_DONE &&
      sjpeg_clip_thumb(out.c_str(), in.c_str(), 96, nullptr, "12:34", nullptr) != VANTLE_DONE) {
    __builtin_trap();  // our own display image always takes a play mark
  }
  std::remove(out.c_str());
  return 0;
}
