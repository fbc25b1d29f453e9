// SPDX-License-Identifier: GPL-3.0-or-later
// Finishes the pictures of a run on worker threads, a few at a time, and hands their results
// back in the order the pictures were handed in. Of the pictures whose memory fits beside those
// being made, the oldest starts first, unless one has much more work: that one starts at once,
// so that a costly picture handed in last does not run alone at the end while the other
// workers have nothing left. A large one waiting for memory never idles a worker.
#ifndef LUMVANE_RUN_PICTURE_PIPELINE_H_
#define LUMVANE_RUN_PICTURE_PIPELINE_H_

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "imagelib/vantle.h"
#include "processing/process_picture.h"
#include "run/memory_budget.h"

namespace lumvane {

class PicturePipeline {
 public:
  // A picture in hand: what was handed over and, once finished, its result.
  struct Finished {
    PictureInput input;
    PictureResult result;
  };

  // Starts `workers` threads (at least one); at most `workers` x kPicturesPerWorker pictures
  // are in hand at a time, and those being made take at most `memory` bytes together.
  explicit PicturePipeline(int workers, size_t memory = kUnlimitedMemory);
  ~PicturePipeline();  // lets the pictures in hand finish, then ends the threads
  PicturePipeline(const PicturePipeline&) = delete;
  PicturePipeline& operator=(const PicturePipeline&) = delete;

  // Three, so that a costly picture can start before the two handed in before it.
  static constexpr int kPicturesPerWorker = 3;

  // Hands over a picture whose result `make` makes on a worker thread, taking about
  // weight.memory bytes and weight.work (any unit comparable between pictures) to make.
  void Submit(const PictureInput& input, std::function<PictureResult()> make,
              vantle_weight weight = {0, 0});
  // Hands over a picture whose result is known already; it keeps its place in the order.
  void SubmitDone(const PictureInput& input, PictureResult result);

  bool full() const;
  bool empty() const;

  // The oldest picture once it is finished, waiting for it at most `wait`; nullopt when it is
  // not finished by then, or when nothing is in hand.
  std::optional<Finished> TakeOldest(std::chrono::milliseconds wait);

 private:
  struct Item {
    Finished finished;
    std::function<PictureResult()> make;
    vantle_weight weight{0, 0};
    bool done = false;
  };
  void Work();
  std::shared_ptr<Item> TakeStartable();  // REQUIRES: mutex_ held

  mutable std::mutex mutex_;
  std::condition_variable work_ready_, item_done_;
  std::deque<std::shared_ptr<Item>> in_order_;  // every picture in hand, oldest first
  std::deque<std::shared_ptr<Item>> to_start_;  // those no worker has taken yet
  size_t capacity_;
  MemoryBudget budget_;
  bool ending_ = false;
  std::vector<std::thread> workers_;
};

// The number of workers a run uses when it is not told: the machine's cores.
int DefaultWorkerCount();

// For the whole process, from its start: picture buffers (a megabyte and more) are mapped and
// unmapped one by one. Left to itself, malloc raises that threshold after the first is freed
// and keeps later ones in each worker's heap, where freed memory stays with the process.
void ReturnFreedPictureMemory();

}  // namespace lumvane

#endif  // LUMVANE_RUN_PICTURE_PIPELINE_H_
