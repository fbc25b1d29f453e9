#include "run/memory_budget.h"

namespace lumvane {

MemoryBudget::Hold::Hold(MemoryBudget& budget, size_t bytes) : budget_(budget), bytes_(bytes) {
  std::unique_lock<std::mutex> lock(budget_.mutex_);
  budget_.released_.wait(lock, [&] {
    return budget_.holders_ == 0 || budget_.held_ + bytes_ <= budget_.bytes_;
  });
  budget_.held_ += bytes_;
  ++budget_.holders_;
}

MemoryBudget::Hold::~Hold() {
  {
    std::lock_guard<std::mutex> lock(budget_.mutex_);
    budget_.held_ -= bytes_;
    --budget_.holders_;
  }
  budget_.released_.notify_all();
}

size_t MemoryBudget::held() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return held_;
}

}  // namespace lumvane
