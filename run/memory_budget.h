// Memory shared by the pictures being made at the same time: a picture waits until its
// share fits beside those of the others, or until it is alone.
#ifndef LUMVANE_RUN_MEMORY_BUDGET_H_
#define LUMVANE_RUN_MEMORY_BUDGET_H_

#include <condition_variable>
#include <cstddef>
#include <mutex>

namespace lumvane {

class MemoryBudget {
 public:
  explicit MemoryBudget(size_t bytes) : bytes_(bytes) {}

  // Holds `bytes` of the budget while it lives.
  class Hold {
   public:
    Hold(MemoryBudget& budget, size_t bytes);
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;

   private:
    MemoryBudget& budget_;
    size_t bytes_;
  };

  size_t held() const;

 private:
  size_t bytes_;
  size_t held_ = 0;
  int holders_ = 0;
  mutable std::mutex mutex_;
  std::condition_variable released_;
};

// What the pictures of a run may take together, so that the command line (8 MiB before its
// first picture) stays under 100 MB; one picture that needs more is made alone.
inline constexpr size_t kPictureMemoryBudget = size_t{84} << 20;

}  // namespace lumvane

#endif  // LUMVANE_RUN_MEMORY_BUDGET_H_
