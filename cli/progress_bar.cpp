// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/progress_bar.h"

#include <algorithm>

namespace lumvane {

std::string ProgressLine(int handled, int total, double seconds, int width) {
  const double rate = seconds > 0 ? handled / seconds : 0;
  char numbers[96];
  if (total <= 0) {
    std::snprintf(numbers, sizeof numbers, "%d  %.1f pictures/s", handled, rate);
    return numbers;
  }
  const int left = rate > 0 ? static_cast<int>((total - handled) / rate + 0.5) : 0;
  std::snprintf(numbers, sizeof numbers, " %d/%d  %.1f pictures/s  %d:%02d left", handled, total,
                rate, left / 60, left % 60);
  const int filled = std::clamp(width * handled / total, 0, width);
  return "[" + std::string(filled, '#') + std::string(width - filled, '.') + "]" + numbers;
}

void ProgressBar::Update(int handled, int total) {
  const Clock::time_point now = Clock::now();
  if (drawn_ && handled != total && now - last_draw_ < std::chrono::milliseconds(100)) return;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const std::string line = ProgressLine(handled, total, seconds, 30);
  std::fprintf(out_, "\r%s", line.c_str());
  Clear(line.size());
  std::fflush(out_);
  last_draw_ = now;
  drawn_ = true;
}

void ProgressBar::Finish() {
  if (!drawn_) return;
  std::fputc('\r', out_);
  Clear(0);
  std::fputc('\r', out_);
  std::fflush(out_);
  drawn_ = false;
}

void ProgressBar::Clear(size_t length) {
  if (escapes_) {
    std::fputs("\x1b[K", out_);
    return;
  }
  if (widest_ > length) std::fprintf(out_, "%*s", static_cast<int>(widest_ - length), "");
  widest_ = std::max(widest_, length);
}

}  // namespace lumvane
