// Worker threads: started detached, tracked, so that the application can wait
// a bounded time for them when it ends.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <mutex>

namespace vexo::platform {

class WorkerTracker {
 public:
  WorkerTracker() = default;
  WorkerTracker(const WorkerTracker&) = delete;
  WorkerTracker& operator=(const WorkerTracker&) = delete;
  // Waits without bound: a tracker must outlive its workers.
  ~WorkerTracker();

  // Runs `work` on a new detached thread at normal priority. Any thread.
  void Start(std::function<void()> work);

  // Waits until every started worker has returned or `bound` has passed.
  // Returns true when none is left running. Any thread but a worker's own.
  bool WaitAll(std::chrono::milliseconds bound);

  // How many workers are still running.
  std::size_t Running() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable idle_;
  std::size_t running_ = 0;
};

}  // namespace vexo::platform
