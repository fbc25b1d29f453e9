// SPDX-License-Identifier: GPL-3.0-or-later
// Last-change times of files in the process's local time zone, and the two texts made of them.
#ifndef LUMVANE_PLATFORM_FILE_TIME_H_
#define LUMVANE_PLATFORM_FILE_TIME_H_

#include <optional>
#include <string>

namespace lumvane {

struct LocalDateTime {
  int year = 0;
  int month = 0;  // 1..12
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// The file's last-change time in local time; nullopt when the file cannot be examined.
std::optional<LocalDateTime> FileModifiedLocal(const std::string& path);

// The local time of a moment given in UTC; nullopt when it is no valid time.
std::optional<LocalDateTime> LocalOfUtc(const LocalDateTime& utc);

// "April 5, 1999": English month name, day without leading zero, four-digit year.
std::string FormatLongDate(const LocalDateTime& time);

// "19990405103000": yyyymmddhhnnss with a 24-hour clock.
std::string FormatStamp(const LocalDateTime& time);

}  // namespace lumvane

#endif  // LUMVANE_PLATFORM_FILE_TIME_H_
