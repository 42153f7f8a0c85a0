// The base of every window of the client: a dialog built from a template,
// modeless (Create) or modal (DoModal), with default reactions that a window
// overrides as it needs.
#pragma once

#include <memory>

#include "platform/ui/dialog_layout.h"
#include "platform/ui/window.h"

namespace vexo::ui {

class Dialog : public WindowEvents {
 public:
  Dialog(const DialogLayout& layout, WindowSystem& system) : layout_(layout), system_(system) {}
  ~Dialog() override { DestroyWindow(); }
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // Creates the window as a modeless dialog owned by `owner` (may be null).
  bool Create(Dialog* owner) {
    window_ = system_.Create(layout_, *this, owner ? owner->window_.get() : nullptr);
    if (!window_) attached_ = nullptr;
    return window_ != nullptr;
  }

  // Creates the window, runs its modal loop with the owner disabled, then
  // destroys it. Returns the result given to EndDialog.
  int DoModal(Dialog* owner) {
    if (!Create(owner)) return -1;
    const int result = system_.RunModal(*window_);
    DestroyWindow();
    return result;
  }

  void DestroyWindow() {
    if (window_) {
      window_->Destroy();
      window_.reset();
    }
    attached_ = nullptr;
  }

  bool HasWindow() const { return attached_ != nullptr && attached_->Exists(); }
  Window& window() { return *attached_; }
  const Window& window() const { return *attached_; }
  void OnCreate(Window& window) override { attached_ = &window; }
  WindowSystem& system() { return system_; }

  // Default reactions, as the framework's dialog has them.
  bool OnInitDialog() override { return true; }
  void OnCommand(int) override {}
  void OnTimer(int) override {}
  void OnMessage(unsigned, std::uintptr_t, std::intptr_t) override {}
  KeyRoute PreTranslateKeyDown(Key) override { return KeyRoute::kDialogManager; }
  void OnOK() override { EndDialog(1); }
  void OnCancel() override { EndDialog(2); }
  void OnSysCommand(int) override {}
  bool MayShow() override { return true; }
  void OnDestroy() override {}
  void OnListClick(int, int, bool) override {}
  std::optional<int> BackgroundBitmap() override { return std::nullopt; }
  std::optional<ControlColors> ColorsOf(int) override { return std::nullopt; }
  int MeasureRow(int) override { return 0; }
  std::optional<RowColors> ColorsOfRow(int, int) override { return std::nullopt; }

  void EndDialog(int result) {
    if (attached_) attached_->EndDialog(result);
  }

 private:
  const DialogLayout& layout_;
  WindowSystem& system_;
  std::unique_ptr<Window> window_;
  Window* attached_ = nullptr;  // set by the backend before OnInitDialog
};

}  // namespace vexo::ui
