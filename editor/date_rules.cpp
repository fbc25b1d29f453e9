// SPDX-License-Identifier: GPL-3.0-or-later
#include "editor/date_rules.h"

#include <algorithm>
#include <cctype>
#include <regex>

namespace lumvane {
namespace {

constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                   "May",       "June",     "July",     "August",
                                   "September", "October",  "November", "December"};

// 1..12 for a month's English name or its first three letters (a dot after them allowed).
int MonthNumber(std::string word) {
  if (!word.empty() && word.back() == '.') word.pop_back();
  std::transform(word.begin(), word.end(), word.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (int m = 0; m < 12; ++m) {
    std::string name = kMonths[m];
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (word == name || (word.size() == 3 && name.starts_with(word))) return m + 1;
  }
  return 0;
}

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

bool IsDay(int year, int month, int day) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  return month != 2 || day <= 28 || IsLeap(year);
}

std::string LongDate(int year, int month, int day) {
  return std::string(kMonths[month - 1]) + " " + std::to_string(day) + ", " + std::to_string(year);
}

// A full date in one of the accepted forms, an optional time of day after it.
std::optional<std::string> FullDate(const std::string& text) {
  static const std::string time = R"((\s+\d{1,2}:\d{2}(:\d{2})?(\s*[AaPp][Mm])?)?\s*$)";
  static const std::regex iso(R"(^\s*(\d{4})-(\d{1,2})-(\d{1,2}))" + time);
  static const std::regex slashed(R"(^\s*(\d{1,2})/(\d{1,2})/(\d{4}))" + time);
  static const std::regex month_first(R"(^\s*([A-Za-z]+\.?)\s+(\d{1,2}),\s*(\d{4}))" + time);
  static const std::regex day_first(R"(^\s*(\d{1,2})\s+([A-Za-z]+\.?)\s+(\d{4}))" + time);
  std::smatch m;
  int year = 0, month = 0, day = 0;
  if (std::regex_match(text, m, iso)) {
    year = std::stoi(m[1]), month = std::stoi(m[2]), day = std::stoi(m[3]);
  } else if (std::regex_match(text, m, slashed)) {
    month = std::stoi(m[1]), day = std::stoi(m[2]), year = std::stoi(m[3]);
  } else if (std::regex_match(text, m, month_first)) {
    month = MonthNumber(m[1]), day = std::stoi(m[2]), year = std::stoi(m[3]);
  } else if (std::regex_match(text, m, day_first)) {
    day = std::stoi(m[1]), month = MonthNumber(m[2]), year = std::stoi(m[3]);
  }
  if (!IsDay(year, month, day)) return std::nullopt;
  return LongDate(year, month, day);
}

// "April 1999", "Apr 1999": the month's full name and the year.
std::optional<std::string> MonthAndYear(const std::string& text) {
  static const std::regex form(R"(^\s*([A-Za-z]+\.?)\s+(\d{4})\s*$)");
  std::smatch m;
  if (!std::regex_match(text, m, form)) return std::nullopt;
  const int month = MonthNumber(m[1]);
  if (month == 0) return std::nullopt;
  return std::string(kMonths[month - 1]) + " " + m[2].str();
}

}  // namespace

std::optional<std::string> StoredDate(const std::string& text) {
  if (auto full = FullDate(text)) return full;
  if (text.size() == 4 &&
      std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
    const int year = std::stoi(text);
    if (year > 999 && year < 2201) return text;
    return std::nullopt;
  }
  return MonthAndYear(text);
}

}  // namespace lumvane
