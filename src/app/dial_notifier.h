// The dial callback of a window class. RAS calls it without any context, so
// each class keeps its notify target in statics of its own, written just
// before each dial; the callback only posts the dial event there.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/ui/window.h"
#include "ras/ras_connection.h"

template <class WindowClass>
class DialNotifier {
 public:
  static void SetTarget(vexo::ui::WindowSystem& system, const vexo::ui::Window& window) {
    s_window.store(window.Handle());
    s_system.store(&system);
  }

  // The RasDialFunc: runs on RAS's own thread.
  static void Callback(unsigned /*message*/, unsigned state, unsigned long error) {
    if (vexo::ui::WindowSystem* system = s_system.load()) {
      system->PostMessageTo(s_window.load(), vexo::kRasDialEvent, state,
                            static_cast<std::intptr_t>(error));
    }
  }

 private:
  static inline std::atomic<vexo::ui::WindowSystem*> s_system{nullptr};
  static inline std::atomic<std::uintptr_t> s_window{0};
};
