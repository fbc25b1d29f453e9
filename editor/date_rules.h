// SPDX-License-Identifier: GPL-3.0-or-later
// The dates the archive editor stores: a typed date becomes "April 5, 1999", a bare year
// stays a year, a month and year become "April 1999"; anything else is refused.
#ifndef LUMVANE_EDITOR_DATE_RULES_H_
#define LUMVANE_EDITOR_DATE_RULES_H_

#include <optional>
#include <string>

namespace lumvane {

// The stored form of the date typed as `text`, or nullopt when it is not a valid date.
// A full date is read from 1999-04-05, 4/5/1999 (month first), April 5, 1999, Apr 5, 1999 and
// 5 April 1999, each with or without a time of day (dropped), and written "mmmm d, yyyy".
// Four digits from 1000 to 2200 are a year, kept as typed. April 1999 and Apr 1999 give
// "April 1999". Month names are English, in any letter case.
std::optional<std::string> StoredDate(const std::string& text);

}  // namespace lumvane

#endif  // LUMVANE_EDITOR_DATE_RULES_H_
