// The host backend of the window system: controls held in memory, one UI
// thread that runs queued tasks, virtual time for timers, and the test
// driver that feeds it input.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ui/driver.h"
#include "platform/ui/virtual_timers.h"
#include "platform/ui/window.h"

namespace vexo::ui {
namespace {

struct HostControl {
  ControlLayout layout;
  std::string text;
  bool enabled = true;
  bool visible = true;
  int font_height = 0;
  bool checked = false;
  std::vector<std::string> items;
  int selection = -1;
  int field_height = 0;
  int item_height = 0;
  struct Column {
    std::string title;
    ColumnFormat format = ColumnFormat::kLeft;
    int width = 0;
  };
  std::vector<Column> columns;
  std::vector<std::vector<std::string>> rows;
  std::vector<bool> selected;
  int mark = -1;
  int hint = 0;
  int scroll = 0;
  unsigned extended = 0;
};

class HostUi;
HostUi& TheUi();

class HostWindow : public Window {
 public:
  HostWindow(HostUi& ui, const DialogLayout& layout, WindowEvents& events, HostWindow* owner,
             int handle);
  ~HostWindow() override;

  int TemplateId() const override { return layout_.id; }
  WindowEvents& Events() override { return events_; }
  std::uintptr_t Handle() const override { return static_cast<std::uintptr_t>(handle_); }
  void Show(bool show) override;
  bool IsVisible() const override { return exists_ && visible_; }
  void CenterOnOwner() override { centred_ = true; }
  void Minimize() override { minimized_ = true; }
  bool IsMinimized() const override { return minimized_; }
  void SetText(const std::string& text) override { text_ = text; }
  std::string Text() const override { return text_; }
  void SetIcon(int icon_id) override { icon_ = icon_id; }
  void AddSystemMenuItem(int command, const std::string& text) override {
    system_menu_.emplace_back(command, text);
  }
  void EndDialog(int result) override;
  void Destroy() override;
  bool Exists() const override { return exists_; }

  std::string ItemText(int id) const override { return Get(id).text; }
  void SetItemText(int id, const std::string& text) override { At(id).text = text; }
  void EnableItem(int id, bool enable) override { At(id).enabled = enable; }
  bool IsItemEnabled(int id) const override { return Get(id).enabled; }
  void ShowItem(int id, bool show) override { At(id).visible = show; }
  bool IsItemVisible(int id) const override { return Get(id).visible; }
  void FocusItem(int id) override { focus_ = id; }
  void SetItemFontHeight(int id, int height) override { At(id).font_height = height; }

  int CheckedRadio(int first_id, int last_id) const override {
    for (int id = first_id; id <= last_id; ++id) {
      if (Get(id).checked) return id - first_id;
    }
    return -1;
  }
  void CheckRadio(int first_id, int last_id, int index) override {
    for (int id = first_id; id <= last_id; ++id) At(id).checked = (id - first_id) == index;
  }

  int ListSelection(int id) const override { return Get(id).selection; }
  void SelectListItem(int id, int index) override {
    HostControl& c = At(id);
    c.selection = index >= 0 && index < static_cast<int>(c.items.size()) ? index : -1;
  }
  int ListItemCount(int id) const override { return static_cast<int>(Get(id).items.size()); }
  std::string ListItemText(int id, int index) const override {
    const HostControl& c = Get(id);
    return index >= 0 && index < static_cast<int>(c.items.size()) ? c.items[index] : "";
  }
  void SetListItemHeight(int id, int which, int height) override {
    (which < 0 ? At(id).field_height : At(id).item_height) = height;
  }
  int ListItemHeight(int id, int which) const override {
    return which < 0 ? Get(id).field_height : Get(id).item_height;
  }

  void InsertColumn(int id, int column, const std::string& title, ColumnFormat format,
                    int width) override {
    HostControl& c = At(id);
    column = std::clamp(column, 0, static_cast<int>(c.columns.size()));
    c.columns.insert(c.columns.begin() + column, {title, format, width});
    for (auto& row : c.rows) row.resize(c.columns.size());
  }
  int ColumnCount(int id) const override { return static_cast<int>(Get(id).columns.size()); }
  int ColumnWidth(int id, int column) const override {
    const HostControl& c = Get(id);
    return column >= 0 && column < static_cast<int>(c.columns.size()) ? c.columns[column].width : 0;
  }
  std::string ColumnTitle(int id, int column) const override {
    const HostControl& c = Get(id);
    return column >= 0 && column < static_cast<int>(c.columns.size()) ? c.columns[column].title
                                                                      : "";
  }
  int InsertRow(int id, int row, const std::string& text) override {
    HostControl& c = At(id);
    row = std::clamp(row, 0, static_cast<int>(c.rows.size()));
    std::vector<std::string> cells(std::max<std::size_t>(c.columns.size(), 1));
    cells[0] = text;
    c.rows.insert(c.rows.begin() + row, cells);
    c.selected.insert(c.selected.begin() + row, false);
    return row;
  }
  void SetCell(int id, int row, int column, const std::string& text) override {
    HostControl& c = At(id);
    if (row < 0 || row >= static_cast<int>(c.rows.size()) || column < 0) return;
    if (column >= static_cast<int>(c.rows[row].size())) return;
    c.rows[row][column] = text;
  }
  std::string Cell(int id, int row, int column) const override {
    const HostControl& c = Get(id);
    if (row < 0 || row >= static_cast<int>(c.rows.size()) || column < 0) return "";
    if (column >= static_cast<int>(c.rows[row].size())) return "";
    return c.rows[row][column];
  }
  void DeleteRow(int id, int row) override {
    HostControl& c = At(id);
    if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
    c.rows.erase(c.rows.begin() + row);
    c.selected.erase(c.selected.begin() + row);
  }
  void DeleteAllRows(int id) override {
    At(id).rows.clear();
    At(id).selected.clear();
    At(id).mark = -1;
  }
  int RowCount(int id) const override { return static_cast<int>(Get(id).rows.size()); }
  void SetRowCountHint(int id, int rows) override { At(id).hint = rows; }
  int SelectionMark(int id) const override { return Get(id).mark; }
  void SetSelectionMark(int id, int row) override { At(id).mark = row; }
  void SetRowSelected(int id, int row, bool on) override {
    HostControl& c = At(id);
    if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
    std::fill(c.selected.begin(), c.selected.end(), false);  // single selection
    c.selected[row] = on;
  }
  bool IsRowSelected(int id, int row) const override {
    const HostControl& c = Get(id);
    return row >= 0 && row < static_cast<int>(c.selected.size()) && c.selected[row];
  }
  int RowTop(int id, int row) const override { return row * kRowHeight - Get(id).scroll; }
  void ScrollList(int id, int dy) override { At(id).scroll += dy; }
  void ModifyListStyle(int id, unsigned add, unsigned remove) override {
    HostControl& c = At(id);
    c.layout.style = (c.layout.style & ~remove) | add;
  }
  unsigned ListStyle(int id) const override { return Get(id).layout.style; }
  void SetListExtendedStyle(int id, unsigned styles) override { At(id).extended = styles; }
  unsigned ListExtendedStyleOf(int id) const override { return Get(id).extended; }

  void SetTimer(int timer_id, unsigned milliseconds) override;
  void KillTimer(int timer_id) override;
  bool HasTimer(int timer_id) const override;
  BoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                           BoxButtons buttons) override;

  // For the driver and the system.
  HostControl* Find(int id) {
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : &it->second;
  }
  WindowEvents& events() { return events_; }
  HostWindow* owner() { return owner_; }
  int handle() const { return handle_; }
  bool enabled() const { return enabled_; }
  void set_enabled(bool on) { enabled_ = on; }
  bool modal_ended() const { return modal_ended_; }
  int modal_result() const { return modal_result_; }
  void set_modal(bool on) { modal_ = on; }
  void ResetModal() { modal_ended_ = false; }

 private:
  static constexpr int kRowHeight = 22;

  HostControl& At(int id) { return controls_[id]; }
  const HostControl& Get(int id) const {
    static const HostControl kNone;
    const auto it = controls_.find(id);
    return it == controls_.end() ? kNone : it->second;
  }

  HostUi& ui_;
  const DialogLayout& layout_;
  WindowEvents& events_;
  HostWindow* owner_;
  int handle_;
  std::map<int, HostControl> controls_;
  std::vector<std::pair<int, std::string>> system_menu_;
  std::string text_;
  int icon_ = 0;
  int focus_ = 0;
  bool visible_ = false;
  bool minimized_ = false;
  bool centred_ = false;
  bool enabled_ = true;
  bool exists_ = true;
  bool modal_ = false;
  bool modal_ended_ = false;  // guarded by the UI's mutex
  int modal_result_ = 0;
};

class HostUi : public WindowSystem, public Driver {
 public:
  // --- WindowSystem
  void InitCommonControls() override {}

  std::unique_ptr<Window> Create(const DialogLayout& layout, WindowEvents& events,
                                 Window* owner) override {
    int handle = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      handle = next_handle_++;
    }
    auto window = std::make_unique<HostWindow>(*this, layout, events,
                                               static_cast<HostWindow*>(owner), handle);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      windows_[handle] = window.get();
    }
    events.OnCreate(*window);
    events.OnInitDialog();
    if (layout.visible) window->Show(true);
    return window;
  }

  int RunModal(Window& w) override {
    auto& window = static_cast<HostWindow&>(w);
    window.set_modal(true);
    HostWindow* owner = window.owner();
    const bool owner_was_enabled = owner && owner->enabled();
    if (owner) owner->set_enabled(false);
    Pump([&window] { return window.modal_ended() || !window.Exists(); });
    if (owner) owner->set_enabled(owner_was_enabled);
    return window.modal_result();
  }

  void PostCommandTo(std::uintptr_t window, int id) override {
    const int handle = static_cast<int>(window);
    Post([this, handle, id] {
      if (HostWindow* w = Alive(handle)) w->events().OnCommand(id);
    });
  }

  void PostMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wparam,
                     std::intptr_t lparam) override {
    const int handle = static_cast<int>(window);
    Post([this, handle, message, wparam, lparam] {
      if (HostWindow* w = Alive(handle)) w->events().OnMessage(message, wparam, lparam);
    });
  }

  void SendTo(std::uintptr_t window, const std::function<void()>& call) override {
    const int handle = static_cast<int>(window);
    // A window that is gone takes no call, even while nothing pumps.
    if (Alive(handle) == nullptr) return;
    SendToUi([this, handle, &call] {
      if (Alive(handle)) call();
    });
  }

  void StartWorker(std::function<void()> work) override {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++workers_;
    }
    std::thread([this, work = std::move(work)] {
      work();
      std::lock_guard<std::mutex> lock(mutex_);
      --workers_;
      changed_.notify_all();
    }).detach();
  }

  bool WaitForWorkers(unsigned milliseconds) override {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [this] { return workers_ == 0; });
  }

  // --- Driver
  void StartUi(std::function<void()> app) override {
    WaitUiEnded(20000);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ui_running_ = true;
      driven_ = true;
    }
    ui_thread_ = std::thread([this, app = std::move(app)] {
      app();
      std::lock_guard<std::mutex> lock(mutex_);
      ui_running_ = false;
      queue_.clear();  // input for windows that are gone
      changed_.notify_all();
    });
  }

  bool WaitUiEnded(unsigned milliseconds) override {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                             [this] { return !ui_running_; })) {
        return false;
      }
    }
    if (ui_thread_.joinable()) ui_thread_.join();
    return true;
  }

  bool HasWindow(int dialog_id) override {
    std::lock_guard<std::mutex> lock(mutex_);
    return FindLocked(dialog_id) != nullptr;
  }

  bool Inspect(int dialog_id, const std::function<void(Window&)>& call) override {
    bool found = false;
    SendToUi([&] {
      HostWindow* w = FindOnUi(dialog_id);
      if (w) {
        found = true;
        call(*w);
      }
    });
    return found;
  }

  void Type(int dialog_id, int control_id, const std::string& text) override {
    Input(dialog_id, [control_id, text](HostWindow& w) {
      HostControl* c = w.Find(control_id);
      if (c && c->enabled && c->visible) c->text = text;
    });
  }

  void Click(int dialog_id, int control_id) override {
    Input(dialog_id, [control_id](HostWindow& w) {
      HostControl* c = w.Find(control_id);
      if (!c || !c->enabled || !c->visible) return;
      if (c->layout.kind == ControlKind::kRadio) {
        // An automatic radio checks itself and clears its group.
        int first = control_id;
        while (w.Find(first - 1) && w.Find(first - 1)->layout.kind == ControlKind::kRadio &&
               !(w.Find(first)->layout.style & kGroupStart)) {
          --first;
        }
        int last = control_id;
        while (w.Find(last + 1) && w.Find(last + 1)->layout.kind == ControlKind::kRadio &&
               !(w.Find(last + 1)->layout.style & kGroupStart)) {
          ++last;
        }
        w.CheckRadio(first, last, control_id - first);
      }
      w.events().OnCommand(control_id);
    });
  }

  void PressKey(int dialog_id, Key key) override {
    Input(dialog_id, [key](HostWindow& w) {
      for (HostWindow* x = &w; x != nullptr; x = x->owner()) {
        const KeyRoute route = x->events().PreTranslateKeyDown(key);
        if (route == KeyRoute::kSwallowed) return;
        if (route == KeyRoute::kDialogManager) {
          if (key == Key::kEnter) x->events().OnOK();
          if (key == Key::kEscape) x->events().OnCancel();
          return;
        }
      }
    });
  }

  void ChooseListItem(int dialog_id, int control_id, int index) override {
    Input(dialog_id, [control_id, index](HostWindow& w) {
      HostControl* c = w.Find(control_id);
      if (c && c->enabled && c->visible) w.SelectListItem(control_id, index);
    });
  }

  void SysCommand(int dialog_id, int command) override {
    Input(
        dialog_id, [command](HostWindow& w) { w.events().OnSysCommand(command); },
        /*needs_enabled=*/false);
  }

  std::optional<OpenBox> WaitMessageBox(unsigned milliseconds) override {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!changed_.wait_for(lock, std::chrono::milliseconds(milliseconds), [this] {
          return !boxes_.empty() && !boxes_.back()->answer && ui_waiting_;
        })) {
      return std::nullopt;
    }
    return boxes_.back()->box;
  }

  bool AnswerMessageBox(BoxAnswer answer) override {
    std::lock_guard<std::mutex> lock(mutex_);
    if (boxes_.empty() || boxes_.back()->answer) return false;
    boxes_.back()->answer = answer;
    ui_waiting_ = false;  // the UI thread wakes to close the box: not idle yet
    changed_.notify_all();
    return true;
  }

  bool SaveScreenshot(const std::string&) override { return false; }

  void AdvanceTime(unsigned milliseconds) override {
    std::uint64_t target = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      target = timers_.now() + milliseconds;
    }
    for (;;) {
      RunUntilIdle();
      std::lock_guard<std::mutex> lock(mutex_);
      const std::optional<VirtualTimers::Due> due = timers_.Next(target);
      if (!due) return;
      const int handle = static_cast<int>(due->window);
      const int id = due->id;
      queue_.push_back([this, handle, id] {
        HostWindow* w = Alive(handle);
        if (w && w->HasTimer(id)) w->events().OnTimer(id);
      });
      changed_.notify_all();
    }
  }

  bool RunUntilIdle() override {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [this] {
      return workers_ == 0 && queue_.empty() && (ui_waiting_ || !ui_running_);
    });
  }

  // --- for the windows
  void Post(std::function<void()> task) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!ui_running_ && driven_) return;
    queue_.push_back(std::move(task));
    changed_.notify_all();
  }

  // Runs `call` on the UI thread and waits; at once when already on it.
  void SendToUi(const std::function<void()>& call) {
    if (std::this_thread::get_id() == loop_thread_.load()) {
      call();
      return;
    }
    bool done = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!ui_running_ && driven_) return;
      queue_.push_back([this, &call, &done] {
        call();
        std::lock_guard<std::mutex> inner(mutex_);
        done = true;
        changed_.notify_all();
      });
      changed_.notify_all();
    }
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return done || (!ui_running_ && driven_); });
  }

  // The UI thread's loop: runs queued tasks until `stop` holds.
  void Pump(const std::function<bool()>& stop) {
    loop_thread_ = std::this_thread::get_id();
    for (;;) {
      std::function<void()> task;
      {
        std::unique_lock<std::mutex> lock(mutex_);
        while (queue_.empty() && !stop()) {
          ui_waiting_ = true;
          changed_.notify_all();
          changed_.wait(lock);
        }
        ui_waiting_ = false;
        if (stop()) return;
        task = std::move(queue_.front());
        queue_.pop_front();
      }
      task();
    }
  }

  BoxAnswer RunBox(const OpenBox& open) {
    Box box{open, std::nullopt};
    {
      std::lock_guard<std::mutex> lock(mutex_);
      boxes_.push_back(&box);
      changed_.notify_all();
    }
    Pump([&box, this] { return box.answer.has_value() || (!ui_running_ && driven_); });
    std::lock_guard<std::mutex> lock(mutex_);
    boxes_.erase(std::remove(boxes_.begin(), boxes_.end(), &box), boxes_.end());
    if (box.answer) return *box.answer;
    return open.buttons == BoxButtons::kYesNo ? BoxAnswer::kNo : BoxAnswer::kOk;
  }

  void Unregister(int handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_.erase(handle);
    timers_.KillAll(static_cast<std::uintptr_t>(handle));
  }

  void SetTimer(int handle, int id, unsigned ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    timers_.Set(static_cast<std::uintptr_t>(handle), id, ms);
  }
  void KillTimer(int handle, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    timers_.Kill(static_cast<std::uintptr_t>(handle), id);
  }
  bool HasTimer(int handle, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    return timers_.Has(static_cast<std::uintptr_t>(handle), id);
  }

  // The window of `handle` if it still exists. UI thread.
  HostWindow* Alive(int handle) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = windows_.find(handle);
    return it == windows_.end() ? nullptr : it->second;
  }

  std::mutex& mutex() { return mutex_; }

 private:
  struct Box {
    OpenBox box;
    std::optional<BoxAnswer> answer;
  };

  HostWindow* FindLocked(int dialog_id) {
    HostWindow* found = nullptr;
    for (auto& [handle, w] : windows_) {
      if (w->TemplateId() == dialog_id && w->Exists()) found = w;  // the newest wins
    }
    return found;
  }
  HostWindow* FindOnUi(int dialog_id) {
    std::lock_guard<std::mutex> lock(mutex_);
    return FindLocked(dialog_id);
  }

  // Queues input for the window of `dialog_id`; a disabled or hidden window
  // takes none.
  void Input(int dialog_id, std::function<void(HostWindow&)> action, bool needs_enabled = true) {
    Post([this, dialog_id, action = std::move(action), needs_enabled] {
      HostWindow* w = FindOnUi(dialog_id);
      if (!w || !w->IsVisible() || (needs_enabled && !w->enabled())) return;
      action(*w);
    });
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> queue_;
  std::map<int, HostWindow*> windows_;
  VirtualTimers timers_;
  std::vector<Box*> boxes_;
  std::thread ui_thread_;
  std::atomic<std::thread::id> loop_thread_{};
  int next_handle_ = 1;
  int workers_ = 0;
  bool ui_waiting_ = false;
  bool ui_running_ = false;
  bool driven_ = false;  // a driver started the UI: input after its end is dropped
};

HostUi& TheUi() {
  static HostUi* ui = new HostUi;  // lives as long as detached workers may
  return *ui;
}

HostWindow::HostWindow(HostUi& ui, const DialogLayout& layout, WindowEvents& events,
                       HostWindow* owner, int handle)
    : ui_(ui),
      layout_(layout),
      events_(events),
      owner_(owner),
      handle_(handle),
      text_(layout.caption) {
  for (const ControlLayout& c : layout.controls) {
    HostControl control;
    control.layout = c;
    control.text = c.text;
    controls_[c.id] = control;
  }
  for (const auto& [id, items] : layout.list_items) controls_[id].items = items;
}

HostWindow::~HostWindow() {
  if (exists_) Destroy();
}

void HostWindow::Show(bool show) {
  if (!exists_) return;
  if (show && !events_.MayShow()) return;  // the position-changing gate
  visible_ = show;
  if (show) minimized_ = false;
}

void HostWindow::EndDialog(int result) {
  if (modal_) {
    std::lock_guard<std::mutex> lock(ui_.mutex());
    modal_result_ = result;
    modal_ended_ = true;
  }
  visible_ = false;
}

void HostWindow::Destroy() {
  if (!exists_) return;
  events_.OnDestroy();
  visible_ = false;
  {
    std::lock_guard<std::mutex> lock(ui_.mutex());
    exists_ = false;
  }
  ui_.Unregister(handle_);
}

void HostWindow::SetTimer(int timer_id, unsigned milliseconds) {
  ui_.SetTimer(handle_, timer_id, milliseconds);
}
void HostWindow::KillTimer(int timer_id) { ui_.KillTimer(handle_, timer_id); }
bool HostWindow::HasTimer(int timer_id) const { return ui_.HasTimer(handle_, timer_id); }

BoxAnswer HostWindow::ShowMessageBox(const std::string& text, const std::string& caption,
                                     BoxButtons buttons) {
  const bool was_enabled = enabled_;
  enabled_ = false;  // the box is modal to its owner
  const BoxAnswer answer = ui_.RunBox({caption, text, buttons});
  if (ui_.Alive(handle_)) enabled_ = was_enabled;
  return answer;
}

}  // namespace

WindowSystem& SystemWindows() { return TheUi(); }
Driver& SystemDriver() { return TheUi(); }

}  // namespace vexo::ui
