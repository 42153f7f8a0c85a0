// Timers on virtual time, for a UI that a test driver runs: the clock moves
// only when the driver advances it, and due timers fire in order.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace vexo::ui {

class VirtualTimers {
 public:
  struct Due {
    std::uintptr_t window;
    int id;
  };

  // Sets (or resets) timer `id` of `window` to fire every `interval` ms.
  void Set(std::uintptr_t window, int id, unsigned interval);
  void Kill(std::uintptr_t window, int id);
  bool Has(std::uintptr_t window, int id) const;
  // Drops every timer of `window`.
  void KillAll(std::uintptr_t window);

  // The earliest timer due no later than `target`: the clock moves to its
  // time and the timer to its next tick. Nothing when none is due; the clock
  // then stands at `target`.
  std::optional<Due> Next(std::uint64_t target);

  std::uint64_t now() const { return now_; }

 private:
  struct Timer {
    std::uintptr_t window;
    int id;
    unsigned interval;
    std::uint64_t due;
  };
  std::vector<Timer> timers_;
  std::uint64_t now_ = 0;
};

}  // namespace vexo::ui
