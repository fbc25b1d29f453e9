// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes sjpeg and sjpeg_note with arbitrary files: they must return one of their codes and
// never crash, print or exit.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imagelib/vantle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string in = "/tmp/sjpeg-fuzz-" + std::to_string(getpid()) + ".jpg";
  const std::string out = in + ".out.jpg";
  FILE* file = std::fopen(in.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  const int result = sjpeg_why(in.c_str(), out.c_str(), size % 2 == 0 ? 0 : 96, nullptr);
  if (result < VANTLE_DONE || result > VANTLE_TOO_LARGE) __builtin_trap();
  char note[64];  // the reader of the notes our images carry, on any file
  const int noted = sjpeg_note(in.c_str(), note, sizeof note);
  if (noted >= static_cast<int>(sizeof note) || (noted >= 0 && note[noted] != '\0'))
    __builtin_trap();
  std::remove(out.c_str());
  return 0;
}
