// SPDX-License-Identifier: GPL-3.0-or-later
// Memory shared by the pictures being made at the same time: a picture starts only when its
// share fits beside those of the others, or when it is alone. Not locked: its owner guards it.
#ifndef LUMVANE_RUN_MEMORY_BUDGET_H_
#define LUMVANE_RUN_MEMORY_BUDGET_H_

#include <cstddef>
#include <limits>

namespace lumvane {

class MemoryBudget {
 public:
  explicit MemoryBudget(size_t bytes) : bytes_(bytes) {}

  // Whether `bytes` fit beside what is held; always true when nothing is held, so a picture
  // larger than the whole budget is made alone.
  bool Fits(size_t bytes) const { return holders_ == 0 || held_ + bytes <= bytes_; }
  void Take(size_t bytes) {
    held_ += bytes;
    ++holders_;
  }
  // Gives back what one Take took.
  void Give(size_t bytes) {
    held_ -= bytes;
    --holders_;
  }

 private:
  size_t bytes_;
  size_t held_ = 0;
  int holders_ = 0;
};

inline constexpr size_t kUnlimitedMemory = std::numeric_limits<size_t>::max();

// What the pictures of a run may take together, so that the command line (8 MiB before its
// first picture) stays under 100 MB; one picture that needs more is made alone.
inline constexpr size_t kPictureMemoryBudget = size_t{84} << 20;

}  // namespace lumvane

#endif  // LUMVANE_RUN_MEMORY_BUDGET_H_
