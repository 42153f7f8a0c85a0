// Windows, controls and the user-interface thread, behind narrow interfaces.
// A window of the client derives from ui::Dialog (dialog.h); the backend's
// Window carries out what the dialog asks and reports events back through
// WindowEvents. Unless a method says otherwise it runs on the UI thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/ui/dialog_layout.h"

namespace vexo::ui {

// Keys the dialogs react to.
enum class Key { kEnter, kEscape, kOther };

// What a window's key pre-translation decided.
enum class KeyRoute {
  kSwallowed,      // handled here; nothing else sees the key
  kPassOn,         // not handled; the owner's pre-translation sees it next
  kDialogManager,  // this dialog's own key handling: Enter is OK, Escape cancel
};

// Buttons of a message box, and its answers.
enum class BoxButtons { kOk, kYesNo };
enum class BoxAnswer { kOk, kYes, kNo };

// Column alignment of a list view.
enum class ColumnFormat { kLeft, kCenter, kRight };

// Extended styles of a list view.
enum ListExtendedStyle : unsigned {
  kListExNone = 0,
  kFullRowSelect = 1u << 0,
};

// A colour as 0xRRGGBB.
using Rgb = std::uint32_t;

// How a control is coloured: its text, the background behind the text, and
// the brush its background is painted with (none: the hollow brush, so the
// window's picture shows through).
struct ControlColors {
  std::optional<Rgb> text;
  std::optional<Rgb> text_background;  // none: transparent text background
  std::optional<Rgb> brush;
};

// The colours of one list-view row.
struct RowColors {
  Rgb text = 0;
  Rgb background = 0xFFFFFF;
};

class Window;

// What a window tells its dialog. Called on the UI thread.
class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // The window exists; called before OnInitDialog.
  virtual void OnCreate(Window& window) = 0;
  virtual bool OnInitDialog() = 0;
  // A button click, a list or radio selection, or a posted command.
  virtual void OnCommand(int id) = 0;
  virtual void OnTimer(int id) = 0;
  // A posted message other than a command (the dial event, for instance).
  virtual void OnMessage(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) = 0;
  // A key-down before the dialog manager sees it.
  virtual KeyRoute PreTranslateKeyDown(Key key) = 0;
  virtual void OnOK() = 0;      // Enter reached the dialog manager
  virtual void OnCancel() = 0;  // Escape, or close
  virtual void OnSysCommand(int id) = 0;
  // The position-changing gate: false keeps the window hidden.
  virtual bool MayShow() = 0;
  virtual void OnDestroy() = 0;
  // A double-click or click on a row of a list view (-1: outside every row).
  virtual void OnListClick(int list_id, int row, bool double_click) = 0;

  // Hooks of the skin; what they leave empty keeps the system's look.
  // The bitmap resource painted as the background from the top-left corner.
  virtual std::optional<int> BackgroundBitmap() = 0;
  // The colours of a static, edit or button.
  virtual std::optional<ControlColors> ColorsOf(int control_id) = 0;
  // The row height of a list view with measured rows; 0 keeps the system's.
  virtual int MeasureRow(int list_id) = 0;
  // The colours of a list-view row as it is drawn.
  virtual std::optional<RowColors> ColorsOfRow(int list_id, int row) = 0;
};

class Window {
 public:
  virtual ~Window() = default;

  // The window itself.
  virtual int TemplateId() const = 0;
  // Names the window for WindowSystem's posting calls, which stay safe after
  // the window is gone.
  virtual std::uintptr_t Handle() const = 0;
  // The dialog this window reports to.
  virtual WindowEvents& Events() = 0;
  virtual void Show(bool show) = 0;
  virtual bool IsVisible() const = 0;
  virtual void CenterOnOwner() = 0;
  virtual void Minimize() = 0;
  virtual bool IsMinimized() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
  virtual void SetIcon(int icon_id) = 0;
  virtual void AddSystemMenuItem(int command, const std::string& text) = 0;
  // Ends the modal loop of a modal window; hides a modeless one.
  virtual void EndDialog(int result) = 0;
  virtual void Destroy() = 0;
  virtual bool Exists() const = 0;

  // Controls by id.
  virtual std::string ItemText(int id) const = 0;
  virtual void SetItemText(int id, const std::string& text) = 0;
  virtual void EnableItem(int id, bool enable) = 0;
  virtual bool IsItemEnabled(int id) const = 0;
  virtual void ShowItem(int id, bool show) = 0;
  virtual bool IsItemVisible(int id) const = 0;
  virtual void FocusItem(int id) = 0;
  // A font of the dialog's face with the given cell height, on edits.
  virtual void SetItemFontHeight(int id, int height) = 0;

  // Radio groups: index of the checked button among first..last, or -1.
  virtual int CheckedRadio(int first_id, int last_id) const = 0;
  virtual void CheckRadio(int first_id, int last_id, int index) = 0;

  // Drop-down lists.
  virtual int ListSelection(int id) const = 0;
  virtual void SelectListItem(int id, int index) = 0;
  virtual int ListItemCount(int id) const = 0;
  virtual std::string ListItemText(int id, int index) const = 0;
  // Height of the selection field (which -1) or of the items (which 0).
  virtual void SetListItemHeight(int id, int which, int height) = 0;
  virtual int ListItemHeight(int id, int which) const = 0;

  // List views.
  virtual void InsertColumn(int id, int column, const std::string& title, ColumnFormat format,
                            int width) = 0;
  virtual int ColumnCount(int id) const = 0;
  virtual int ColumnWidth(int id, int column) const = 0;
  virtual std::string ColumnTitle(int id, int column) const = 0;
  virtual int InsertRow(int id, int row, const std::string& text) = 0;
  virtual void SetCell(int id, int row, int column, const std::string& text) = 0;
  virtual std::string Cell(int id, int row, int column) const = 0;
  virtual void DeleteRow(int id, int row) = 0;
  virtual void DeleteAllRows(int id) = 0;
  virtual int RowCount(int id) const = 0;
  virtual void SetRowCountHint(int id, int rows) = 0;
  virtual int SelectionMark(int id) const = 0;
  virtual void SetSelectionMark(int id, int row) = 0;
  virtual void SetRowSelected(int id, int row, bool selected_and_focused) = 0;
  virtual bool IsRowSelected(int id, int row) const = 0;
  virtual int RowTop(int id, int row) const = 0;  // pixels from the list's top
  virtual void ScrollList(int id, int dy) = 0;
  // The list view's styles (ControlStyle flags): `add` set, `remove` cleared.
  virtual void ModifyListStyle(int id, unsigned add, unsigned remove) = 0;
  virtual unsigned ListStyle(int id) const = 0;
  virtual void SetListExtendedStyle(int id, unsigned styles) = 0;
  virtual unsigned ListExtendedStyleOf(int id) const = 0;

  // Timers, on this window; each tick calls OnTimer(id) on the UI thread.
  virtual void SetTimer(int timer_id, unsigned milliseconds) = 0;
  virtual void KillTimer(int timer_id) = 0;
  virtual bool HasTimer(int timer_id) const = 0;

  // A modal message box owned by this window; returns the answer.
  virtual BoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                   BoxButtons buttons) = 0;
};

// Creates windows and runs the UI thread's loops.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Initialises the common controls (the Windows 95 classes).
  virtual void InitCommonControls() = 0;
  // Creates a window from `layout` owned by `owner` (may be null), hidden
  // unless the layout is visible; its OnInitDialog runs before this returns.
  virtual std::unique_ptr<Window> Create(const DialogLayout& layout, WindowEvents& events,
                                         Window* owner) = 0;
  // Runs the modal loop of `window`, with its owner disabled, until
  // EndDialog; returns the result given to EndDialog.
  virtual int RunModal(Window& window) = 0;
  // Posting to a window by handle: queued, handled later on the UI thread in
  // order; a no-op once the window is gone. Any thread.
  virtual void PostCommandTo(std::uintptr_t window, int id) = 0;
  virtual void PostMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wparam,
                             std::intptr_t lparam) = 0;
  // Runs `call` on the UI thread and waits, as a sent message does; a no-op
  // once the window is gone. Any thread.
  virtual void SendTo(std::uintptr_t window, const std::function<void()>& call) = 0;

  // Starts a worker thread, tracked. Any thread.
  virtual void StartWorker(std::function<void()> work) = 0;
  // Waits up to `milliseconds` for the workers to end; true when none runs.
  virtual bool WaitForWorkers(unsigned milliseconds) = 0;
};

// The backend's window system. Lives for the whole process.
WindowSystem& SystemWindows();

// What a worker holds of a window: enough to post to it and to run calls on
// the UI thread, and safe to use after the window is gone.
class WindowRef {
 public:
  WindowRef() = default;
  WindowRef(WindowSystem& system, const Window& window)
      : system_(&system), handle_(window.Handle()) {}

  void PostCommand(int id) const {
    if (system_) system_->PostCommandTo(handle_, id);
  }
  void PostEvent(unsigned message, std::uintptr_t wparam, std::intptr_t lparam) const {
    if (system_) system_->PostMessageTo(handle_, message, wparam, lparam);
  }
  void Send(const std::function<void()>& call) const {
    if (system_) system_->SendTo(handle_, call);
  }

 private:
  WindowSystem* system_ = nullptr;
  std::uintptr_t handle_ = 0;
};

}  // namespace vexo::ui
