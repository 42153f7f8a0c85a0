// Drives the windows as a user would, for tests: type, click, press a key,
// choose a list item, answer a message box, read what the screen shows,
// move virtual time. The same calls work on both backends: in memory on the
// host, with window messages on real windows under Windows or Wine.
// Called from the test's thread; the UI runs on a thread of its own.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ui/window.h"

namespace vexo::ui {

struct OpenBox {
  std::string caption;
  std::string text;
  BoxButtons buttons = BoxButtons::kOk;
};

class Driver {
 public:
  virtual ~Driver() = default;

  // Runs `app` on a new UI thread; timers then run on virtual time.
  virtual void StartUi(std::function<void()> app) = 0;
  // Waits up to `milliseconds` for `app` to return; true when it has.
  virtual bool WaitUiEnded(unsigned milliseconds) = 0;

  // True while a window of template `dialog_id` exists.
  virtual bool HasWindow(int dialog_id) = 0;
  // Runs `call` with the window of `dialog_id` on the UI thread and waits.
  // False when there is no such window.
  virtual bool Inspect(int dialog_id, const std::function<void(Window&)>& call) = 0;

  // User actions: queued like input, carried out by the UI thread. An action
  // on a disabled or hidden control does nothing, as for a user.
  virtual void Type(int dialog_id, int control_id, const std::string& text) = 0;
  virtual void Click(int dialog_id, int control_id) = 0;
  virtual void PressKey(int dialog_id, Key key) = 0;
  virtual void ChooseListItem(int dialog_id, int control_id, int index) = 0;
  virtual void SysCommand(int dialog_id, int command) = 0;

  // The message box that is open, waiting up to `milliseconds` for one.
  virtual std::optional<OpenBox> WaitMessageBox(unsigned milliseconds) = 0;
  virtual bool AnswerMessageBox(BoxAnswer answer) = 0;

  // Writes the whole screen as a 24-bit BMP file; false where there is no
  // screen (the host backend).
  virtual bool SaveScreenshot(const std::string& bmp_path) = 0;

  // Moves virtual time on, firing due timers in order.
  virtual void AdvanceTime(unsigned milliseconds) = 0;
  // Waits until no input is queued, no worker runs and the UI thread waits.
  // False after 20 s of real time without getting there.
  virtual bool RunUntilIdle() = 0;
};

// The backend's driver.
Driver& SystemDriver();

}  // namespace vexo::ui
