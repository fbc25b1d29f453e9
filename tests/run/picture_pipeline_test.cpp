// The worker pool behind a run: results in the order of submission, whatever the order of
// finishing; a bounded number in hand; failures kept to their picture; the memory they share.
#include "run/picture_pipeline.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <stdexcept>

#include "run/memory_budget.h"

namespace lumvane {
namespace {

using std::chrono::milliseconds;

PictureInput Named(int n) {
  PictureInput input;
  input.source = std::to_string(n);
  return input;
}

TEST(PicturePipeline, ResultsComeInTheOrderOfSubmission) {
  PicturePipeline pipeline(4);
  std::vector<std::string> kept;
  for (int n = 0; n < 40; ++n) {
    if (n % 7 == 3) {
      PictureResult passed;
      passed.pass_over = PassOver::kFileMissing;
      pipeline.SubmitDone(Named(n), passed);
    } else {
      pipeline.Submit(Named(n), [n] {
        std::this_thread::sleep_for(milliseconds((n * 37) % 11));  // finish out of order
        PictureResult result;
        result.detail = std::to_string(n);
        return result;
      });
    }
    while (pipeline.full()) {
      if (auto finished = pipeline.TakeOldest(milliseconds(50)))
        kept.push_back(finished->input.source);
    }
  }
  while (!pipeline.empty()) {
    if (auto finished = pipeline.TakeOldest(milliseconds(50)))
      kept.push_back(finished->input.source);
  }
  ASSERT_EQ(kept.size(), 40u);
  for (int n = 0; n < 40; ++n) EXPECT_EQ(kept[n], std::to_string(n));
}

TEST(PicturePipeline, HoldsAFewPicturesPerWorkerAndKeepsAFailureToItsPicture) {
  PicturePipeline pipeline(2);
  std::atomic<bool> release{false};
  const auto blocked = [&] {
    while (!release) std::this_thread::sleep_for(milliseconds(1));
    return PictureResult{};
  };
  for (int n = 0; n < 2 * PicturePipeline::kPicturesPerWorker - 1; ++n) {
    pipeline.Submit(Named(n), blocked);
    EXPECT_FALSE(pipeline.full());
  }
  pipeline.Submit(Named(9), []() -> PictureResult { throw std::runtime_error("no memory"); });
  EXPECT_TRUE(pipeline.full());
  EXPECT_FALSE(pipeline.TakeOldest(milliseconds(5))) << "the oldest is still in hand";
  release = true;
  for (int n = 0; n < 2 * PicturePipeline::kPicturesPerWorker - 1; ++n) {
    ASSERT_TRUE(pipeline.TakeOldest(milliseconds(1000)));
  }
  const auto failed = pipeline.TakeOldest(milliseconds(1000));
  ASSERT_TRUE(failed);
  EXPECT_EQ(failed->result.pass_over, PassOver::kFileUnreadable);
  EXPECT_TRUE(pipeline.empty());
}

}  // namespace
}  // namespace lumvane

namespace lumvane {
namespace {

TEST(MemoryBudget, APictureWaitsUntilItFitsOrIsAlone) {
  MemoryBudget budget(100);
  std::atomic<int> stage{0};
  std::optional<MemoryBudget::Hold> first(std::in_place, budget, 60);
  std::thread second([&] {
    const MemoryBudget::Hold hold(budget, 50);  // 110 > 100: waits for the first
    stage = 1;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(stage, 0);
  EXPECT_EQ(budget.held(), 60u);
  first.reset();
  second.join();
  EXPECT_EQ(stage, 1);
  {
    const MemoryBudget::Hold alone(budget, 500);  // more than all of it: made alone
    EXPECT_EQ(budget.held(), 500u);
  }
  EXPECT_EQ(budget.held(), 0u);
}

}  // namespace
}  // namespace lumvane
