#include "platform/workers.h"

#include <thread>
#include <utility>

namespace vexo::platform {

WorkerTracker::~WorkerTracker() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return running_ == 0; });
}

void WorkerTracker::Start(std::function<void()> work) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ++running_;
  }
  std::thread([this, work = std::move(work)] {
    work();
    std::lock_guard<std::mutex> lock(mutex_);
    --running_;
    // Notified under the lock: the tracker may be destroyed as soon as the
    // waiter sees zero, so nothing of it is touched after the unlock.
    idle_.notify_all();
  }).detach();
}

bool WorkerTracker::WaitAll(std::chrono::milliseconds bound) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, bound, [this] { return running_ == 0; });
}

std::size_t WorkerTracker::Running() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return running_;
}

}  // namespace vexo::platform
