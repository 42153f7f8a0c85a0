#include "platform/ui/virtual_timers.h"

#include <algorithm>

namespace vexo::ui {

void VirtualTimers::Set(std::uintptr_t window, int id, unsigned interval) {
  Kill(window, id);
  timers_.push_back({window, id, interval, now_ + std::max(interval, 1u)});
}

void VirtualTimers::Kill(std::uintptr_t window, int id) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.window == window && t.id == id; }),
                timers_.end());
}

bool VirtualTimers::Has(std::uintptr_t window, int id) const {
  return std::any_of(timers_.begin(), timers_.end(),
                     [&](const Timer& t) { return t.window == window && t.id == id; });
}

void VirtualTimers::KillAll(std::uintptr_t window) {
  timers_.erase(std::remove_if(timers_.begin(), timers_.end(),
                               [&](const Timer& t) { return t.window == window; }),
                timers_.end());
}

std::optional<VirtualTimers::Due> VirtualTimers::Next(std::uint64_t target) {
  auto next = std::min_element(timers_.begin(), timers_.end(),
                               [](const Timer& a, const Timer& b) { return a.due < b.due; });
  if (next == timers_.end() || next->due > target) {
    now_ = std::max(now_, target);
    return std::nullopt;
  }
  now_ = next->due;
  next->due += std::max(next->interval, 1u);
  return Due{next->window, next->id};
}

}  // namespace vexo::ui
