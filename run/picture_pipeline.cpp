// SPDX-License-Identifier: GPL-3.0-or-later
#include "run/picture_pipeline.h"

#include <malloc.h>

#include <algorithm>

namespace lumvane {

void ReturnFreedPictureMemory() {
  mallopt(M_MMAP_THRESHOLD, 1 << 20);
}

int DefaultWorkerCount() {
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

PicturePipeline::PicturePipeline(int workers, size_t memory)
    : capacity_(static_cast<size_t>(std::max(1, workers)) * kPicturesPerWorker), budget_(memory) {
  for (int i = 0; i < std::max(1, workers); ++i) workers_.emplace_back([this] { Work(); });
}

PicturePipeline::~PicturePipeline() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ending_ = true;
  }
  work_ready_.notify_all();
  for (std::thread& worker : workers_) worker.join();
}

void PicturePipeline::Submit(const PictureInput& input, std::function<PictureResult()> make,
                             vantle_weight weight) {
  auto item = std::make_shared<Item>();
  item->finished.input = input;
  item->make = std::move(make);
  item->weight = weight;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    in_order_.push_back(item);
    to_start_.push_back(item);
  }
  work_ready_.notify_one();
}

void PicturePipeline::SubmitDone(const PictureInput& input, PictureResult result) {
  auto item = std::make_shared<Item>();
  item->finished = {input, std::move(result)};
  item->done = true;
  std::lock_guard<std::mutex> lock(mutex_);
  in_order_.push_back(item);
}

bool PicturePipeline::full() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return in_order_.size() >= capacity_;
}

bool PicturePipeline::empty() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return in_order_.empty();
}

std::optional<PicturePipeline::Finished> PicturePipeline::TakeOldest(
    std::chrono::milliseconds wait) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto oldest_done = [this] { return !in_order_.empty() && in_order_.front()->done; };
  if (!item_done_.wait_for(lock, wait, oldest_done)) return std::nullopt;
  Finished finished = std::move(in_order_.front()->finished);
  in_order_.pop_front();
  return finished;
}

// Of the pictures not started whose memory fits, the oldest, unless one has at least twice its
// work: then the one with the most work (the oldest of equals). Taken off the list with its
// memory held; null when none fits. A picture passed over waits at most until the pictures in
// hand (a bounded number) are finished, when it is alone.
std::shared_ptr<PicturePipeline::Item> PicturePipeline::TakeStartable() {
  auto oldest = to_start_.end(), most = to_start_.end();
  for (auto it = to_start_.begin(); it != to_start_.end(); ++it) {
    if (!budget_.Fits((*it)->weight.memory)) continue;
    if (oldest == to_start_.end()) oldest = most = it;
    if ((*it)->weight.work > (*most)->weight.work) most = it;
  }
  if (oldest == to_start_.end()) return nullptr;
  const auto chosen = (*most)->weight.work >= 2 * (*oldest)->weight.work ? most : oldest;
  std::shared_ptr<Item> item = *chosen;
  to_start_.erase(chosen);
  budget_.Take(item->weight.memory);
  return item;
}

// A worker: takes a picture, finishes it, marks it done. Any failure the work throws passes
// that picture over rather than ending the program.
void PicturePipeline::Work() {
  for (;;) {
    std::shared_ptr<Item> item;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      work_ready_.wait(lock,
                       [&] { return (item = TakeStartable()) || (ending_ && to_start_.empty()); });
      if (!item) return;
    }
    PictureResult result;
    try {
      result = item->make();
    } catch (...) {
      result = PictureResult{};
      result.pass_over = PassOver::kFileUnreadable;
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      budget_.Give(item->weight.memory);
      item->finished.result = std::move(result);
      item->make = nullptr;
      item->done = true;
    }
    item_done_.notify_all();
    work_ready_.notify_all();  // the memory it held may let a waiting picture start
  }
}

}  // namespace lumvane
