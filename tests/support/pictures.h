// SPDX-License-Identifier: GPL-3.0-or-later
// Small real JPEG originals with chosen file dates, for the processing and run tests.
#ifndef LUMVANE_TESTS_SUPPORT_PICTURES_H_
#define LUMVANE_TESTS_SUPPORT_PICTURES_H_

#include <sys/time.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "processing/process_picture.h"
#include "tests/imagelib/test_jpegs.h"

namespace testing_support {

// Sets the file's last-change time, in local time.
inline void SetFileDate(const std::string& path, int year, int month, int day, int hour = 12) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_isdst = -1;
  const time_t when = mktime(&local);
  const timeval times[2] = {{when, 0}, {when, 0}};
  utimes(path.c_str(), times);
}

// A picture handed over with its source path only.
inline lumvane::PictureInput PictureAt(const std::string& source) {
  lumvane::PictureInput picture;
  picture.source = source;
  return picture;
}

// Writes a 64 x 48 JPEG at `path`, changed on the given day.
inline void WritePhoto(const std::string& path, int year = 2001, int month = 3, int day = 5) {
  testing_jpegs::WriteJpeg(path, {64, 48});
  SetFileDate(path, year, month, day);
}

// Makes a clip with ffmpeg from `arguments` (its inputs and options) into `path`; true when
// ffmpeg could. "-f lavfi -i testsrc=duration=3:size=320x240:rate=10 -c:v libx264" makes three
// seconds of H.264.
inline bool MakeClip(const std::string& arguments, const std::string& path) {
  return std::system(("ffmpeg -loglevel error -y " + arguments + " '" + path + "'").c_str()) == 0;
}

}  // namespace testing_support

#endif  // LUMVANE_TESTS_SUPPORT_PICTURES_H_
