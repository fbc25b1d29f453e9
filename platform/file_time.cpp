// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_time.h"

#include <sys/stat.h>

#include <cstdio>
#include <ctime>

namespace lumvane {

std::optional<LocalDateTime> FileModifiedLocal(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  std::tm local{};
  if (localtime_r(&info.st_mtime, &local) == nullptr) return std::nullopt;
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::optional<LocalDateTime> LocalOfUtc(const LocalDateTime& utc) {
  std::tm given{};
  given.tm_year = utc.year - 1900;
  given.tm_mon = utc.month - 1;
  given.tm_mday = utc.day;
  given.tm_hour = utc.hour;
  given.tm_min = utc.minute;
  given.tm_sec = utc.second;
  const time_t moment = timegm(&given);
  std::tm local{};
  if (utc.month < 1 || utc.month > 12 || moment == -1 || localtime_r(&moment, &local) == nullptr) {
    return std::nullopt;
  }
  return LocalDateTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                       local.tm_hour,        local.tm_min,     local.tm_sec};
}

std::string FormatLongDate(const LocalDateTime& time) {
  static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                            "May",       "June",     "July",     "August",
                                            "September", "October",  "November", "December"};
  if (time.month < 1 || time.month > 12) return "";
  return std::string(kMonths[time.month - 1]) + " " + std::to_string(time.day) + ", " +
         std::to_string(time.year);
}

std::string FormatStamp(const LocalDateTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", time.year, time.month, time.day,
                time.hour, time.minute, time.second);
  return text;
}

}  // namespace lumvane
