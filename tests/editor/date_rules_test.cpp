// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/date_rules.h"

#include <gtest/gtest.h>

namespace lumvane {
namespace {

TEST(DateRules, FullDatesInEveryAcceptedFormWithOrWithoutATime) {
  for (const char* typed :
       {"1999-04-05", "4/5/1999", "April 5, 1999", "Apr 5, 1999", "5 April 1999", "april 5, 1999",
        "Apr. 5, 1999", "April 5, 1999 10:30", "1999-04-05 10:30:15", "4/5/1999 9:05 PM"}) {
    EXPECT_EQ(StoredDate(typed).value_or("refused"), "April 5, 1999") << typed;
  }
  EXPECT_EQ(StoredDate("2000-02-29").value_or("refused"), "February 29, 2000");
}

TEST(DateRules, YearsMonthsAndRefusals) {
  EXPECT_EQ(StoredDate("1999").value_or("refused"), "1999");
  EXPECT_EQ(StoredDate("2200").value_or("refused"), "2200");
  EXPECT_EQ(StoredDate("April 1999").value_or("refused"), "April 1999");
  EXPECT_EQ(StoredDate("Apr 1999").value_or("refused"), "April 1999");
  for (const char* typed : {"0999", "2201", "", "soon", "1999-02-29", "1900-02-29", "13/5/1999",
                            "Foo 5, 1999", "April 5 1999 and more", "19999"}) {
    EXPECT_FALSE(StoredDate(typed)) << typed;
  }
}

}  // namespace
}  // namespace lumvane
