// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/file_time.h"

#include <sys/time.h>

#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace lumvane {
namespace {

TEST(FileTime, DatesFormatInEnglishWithoutLeadingZeros) {
  EXPECT_EQ(FormatLongDate({2001, 3, 5, 0, 0, 0}), "March 5, 2001");
  EXPECT_EQ(FormatLongDate({1999, 12, 31, 23, 59, 59}), "December 31, 1999");
  EXPECT_EQ(FormatStamp({1999, 4, 5, 10, 30, 0}), "19990405103000");
  EXPECT_EQ(FormatStamp({2001, 3, 5, 23, 5, 9}), "20010305230509");
}

// In a zone away from UTC, so that a date read in UTC shows.
TEST(FileTime, FileDatesAreReadInLocalTime) {
  setenv("TZ", "JST-9", 1);
  tzset();
  testing_support::TempDir dir;
  dir.Write("a.jpg", "x");
  std::tm local{};
  local.tm_year = 2001 - 1900;
  local.tm_mon = 2;
  local.tm_mday = 5;
  local.tm_hour = 14;
  local.tm_min = 7;
  local.tm_sec = 9;
  local.tm_isdst = -1;
  const timeval times[2] = {{mktime(&local), 0}, {mktime(&local), 0}};
  ASSERT_EQ(utimes((dir / "a.jpg").c_str(), times), 0);
  const auto time = FileModifiedLocal(dir / "a.jpg");
  ASSERT_TRUE(time.has_value());
  EXPECT_EQ(FormatStamp(*time), "20010305140709");
  EXPECT_FALSE(FileModifiedLocal(dir / "missing.jpg").has_value());
  unsetenv("TZ");
  tzset();
}

}  // namespace
}  // namespace lumvane
