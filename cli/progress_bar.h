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
  explicit ProgressBar(std::FILE* out) : out_(out) {}
  // Redraws the line, at most ten times a second and always for the last picture.
  void Update(int handled, int total);
  // Clears the line when one was drawn.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* out_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point last_draw_{};
  bool drawn_ = false;
};

}  // namespace lumvane

#endif  // LUMVANE_CLI_PROGRESS_BAR_H_
