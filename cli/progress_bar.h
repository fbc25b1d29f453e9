// SPDX-License-Identifier: GPL-3.0-or-later
// A one-line progress bar on a terminal: count, total, pictures per second and time left.
#ifndef LUMVANE_CLI_PROGRESS_BAR_H_
#define LUMVANE_CLI_PROGRESS_BAR_H_

#include <chrono>
#include <cstdio>
#include <string>

namespace lumvane {

// The bar's text for `handled` of `total` pictures after `seconds` (total -1: unknown).
std::string ProgressLine(int handled, int total, double seconds, int width);

class ProgressBar {
 public:
  // `escapes`: the terminal clears a line's rest by its escape; without, blanks overwrite it.
  ProgressBar(std::FILE* out, bool escapes) : out_(out), escapes_(escapes) {}
  // Redraws the line, at most ten times a second and always for the last picture.
  void Update(int handled, int total);
  // Clears the line when one was drawn.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  // Ends the line drawn with the escape that clears its rest, or with blanks as far as the
  // widest line drawn.
  void Clear(size_t length);

  std::FILE* out_;
  bool escapes_;
  size_t widest_ = 0;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_draw_{};
  bool drawn_ = false;
};

}  // namespace lumvane

#endif  // LUMVANE_CLI_PROGRESS_BAR_H_
