#include "run/memory_budget.h"

namespace lumvane {

void MemoryBudget::Take(size_t bytes) {
  held_ += bytes;
  ++holders_;
}

void MemoryBudget::Give(size_t bytes) {
  held_ -= bytes;
  --holders_;
}

}  // namespace lumvane
