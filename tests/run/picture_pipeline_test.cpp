// SPDX-License-Identifier: GPL-3.0-or-later
// The worker pool behind a run: results in the order of submission, whatever the order of
// finishing; a bounded number in hand; failures kept to their picture; the memory they share.
#include "run/picture_pipeline.h"

#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <optional>
#include <stdexcept>

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

// A picture whose memory does not fit waits while a later one that fits starts; one larger than
// the whole budget is made alone; results still come in order.
TEST(PicturePipeline, StartsWhatFitsInMemoryAndMakesAnOversizedPictureAlone) {
  PicturePipeline pipeline(2, /*memory=*/100);
  std::atomic<bool> release_first{false}, third_started{false}, second_started{false};
  std::atomic<int> running{0}, most_beside_huge{0};
  const auto counted = [&](auto body) {
    return [&, body] {
      ++running;
      body();
      --running;
      return PictureResult{};
    };
  };
  pipeline.Submit(Named(1), counted([&] {
                    while (!release_first) std::this_thread::sleep_for(milliseconds(1));
                  }),
                  {60, 0});
  pipeline.Submit(Named(2), counted([&] { second_started = true; }), {50, 0});  // 110 > 100
  pipeline.Submit(Named(3), counted([&] { third_started = true; }),
                  {30, 0});  // fits beside the first
  for (int i = 0; i < 1000 && !third_started; ++i) std::this_thread::sleep_for(milliseconds(1));
  EXPECT_TRUE(third_started) << "a later picture that fits does not wait for a larger one";
  EXPECT_FALSE(second_started) << "the second would pass the budget beside the first";
  release_first = true;
  std::vector<std::string> kept;
  for (int n = 0; n < 3; ++n) {
    auto finished = pipeline.TakeOldest(milliseconds(2000));
    ASSERT_TRUE(finished);
    kept.push_back(finished->input.source);
  }
  EXPECT_EQ(kept, (std::vector<std::string>{"1", "2", "3"}));
  pipeline.Submit(Named(4), counted([&] { std::this_thread::sleep_for(milliseconds(20)); }),
                  {10, 0});
  pipeline.Submit(Named(5), counted([&] {
                    for (int i = 0; i < 20; ++i) {
                      most_beside_huge = std::max(most_beside_huge.load(), running.load());
                      std::this_thread::sleep_for(milliseconds(1));
                    }
                  }),
                  {500, 0});
  pipeline.Submit(Named(6), counted([] {}), {10, 0});
  for (int n = 4; n <= 6; ++n) ASSERT_TRUE(pipeline.TakeOldest(milliseconds(2000)));
  EXPECT_EQ(most_beside_huge, 1) << "a picture larger than the budget is made alone";
}

// A picture with at least twice the oldest's work starts first, wherever it was handed in; one
// a little costlier than the oldest does not pass it; results keep the order.
TEST(PicturePipeline, StartsAPictureOfMuchMoreWorkFirst) {
  PicturePipeline pipeline(1);
  std::atomic<bool> release{false};
  std::vector<int> started;  // by the one worker
  pipeline.Submit(Named(0),
                  [&] {
                    while (!release) std::this_thread::sleep_for(milliseconds(1));
                    return PictureResult{};
                  },
                  {0, 100});
  for (int n = 1; n <= 3; ++n) {
    pipeline.Submit(Named(n),
                    [&started, n] {
                      started.push_back(n);
                      return PictureResult{};
                    },
                    {0, std::array<size_t, 4>{0, 10, 90, 15}[n]});
  }
  release = true;
  for (int n = 0; n <= 3; ++n) {
    const auto finished = pipeline.TakeOldest(milliseconds(2000));
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->input.source, std::to_string(n));
  }
  EXPECT_EQ(started, (std::vector<int>{2, 1, 3}));
}

}  // namespace
}  // namespace lumvane
