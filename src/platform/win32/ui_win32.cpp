// The win32 backend of the window system: real dialogs from the templates,
// comctl32 list views, a modal loop that gives key-downs to the windows'
// pre-translation first, and the test driver done with window messages.
#include <windows.h>
// After windows.h, which they build on.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/ui/driver.h"
#include "platform/ui/virtual_timers.h"
#include "platform/ui/window.h"
#include "platform/win32/dialog_template.h"
#include "platform/workers.h"

namespace vexo::ui {
namespace {

constexpr UINT kRunCall = WM_APP + 1;  // lParam: std::function<void()>*
constexpr UINT kMarker = WM_APP + 2;   // lParam: the driver's idle marker

class Win32Window;
class Win32Ui;
Win32Ui& TheUi();

std::string WindowTextOf(HWND hwnd) {
  const int n = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(std::max(n, 0)) + 1, '\0');
  const int got = GetWindowTextA(hwnd, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(std::max(got, 0)));
  return text;
}

class Win32Window : public Window {
 public:
  Win32Window(const DialogLayout& layout, WindowEvents& events, Win32Window* owner)
      : layout_(layout), events_(events), owner_(owner) {}
  ~Win32Window() override {
    if (hwnd_) Destroy();
  }

  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam);

  int TemplateId() const override { return layout_.id; }
  WindowEvents& Events() override { return events_; }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(hwnd_); }
  void Show(bool show) override { ShowWindow(hwnd_, show ? SW_SHOW : SW_HIDE); }
  bool IsVisible() const override { return hwnd_ && IsWindowVisible(hwnd_); }
  void CenterOnOwner() override;
  void Minimize() override { ShowWindow(hwnd_, SW_MINIMIZE); }
  bool IsMinimized() const override { return IsIconic(hwnd_) != FALSE; }
  void SetText(const std::string& text) override { SetWindowTextA(hwnd_, text.c_str()); }
  std::string Text() const override { return WindowTextOf(hwnd_); }
  void SetIcon(int icon_id) override {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(icon_id));
    if (icon) {
      SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
      SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
  }
  void AddSystemMenuItem(int command, const std::string& text) override {
    HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (!menu || text.empty()) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, static_cast<UINT_PTR>(command), text.c_str());
  }
  void EndDialog(int result) override;
  void Destroy() override;
  bool Exists() const override { return hwnd_ && IsWindow(hwnd_); }

  std::string ItemText(int id) const override { return WindowTextOf(Item(id)); }
  void SetItemText(int id, const std::string& text) override {
    SetDlgItemTextA(hwnd_, id, text.c_str());
  }
  void EnableItem(int id, bool enable) override { EnableWindow(Item(id), enable); }
  bool IsItemEnabled(int id) const override { return IsWindowEnabled(Item(id)) != FALSE; }
  void ShowItem(int id, bool show) override { ShowWindow(Item(id), show ? SW_SHOW : SW_HIDE); }
  bool IsItemVisible(int id) const override {
    return (GetWindowLongA(Item(id), GWL_STYLE) & WS_VISIBLE) != 0;
  }
  void FocusItem(int id) override { SetFocus(Item(id)); }
  void SetItemFontHeight(int id, int height) override {
    HFONT base = reinterpret_cast<HFONT>(SendMessageA(Item(id), WM_GETFONT, 0, 0));
    LOGFONTA lf{};
    if (!base || !GetObjectA(base, sizeof lf, &lf)) return;
    lf.lfHeight = height;
    HFONT font = CreateFontIndirectA(&lf);
    if (!font) return;
    fonts_.push_back(font);
    SendMessageA(Item(id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }

  int CheckedRadio(int first_id, int last_id) const override {
    for (int id = first_id; id <= last_id; ++id) {
      if (IsDlgButtonChecked(hwnd_, id) == BST_CHECKED) return id - first_id;
    }
    return -1;
  }
  void CheckRadio(int first_id, int last_id, int index) override {
    for (int id = first_id; id <= last_id; ++id) {
      CheckDlgButton(hwnd_, id, (id - first_id) == index ? BST_CHECKED : BST_UNCHECKED);
    }
  }

  int ListSelection(int id) const override {
    return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0));
  }
  void SelectListItem(int id, int index) override {
    SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  int ListItemCount(int id) const override {
    return static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0));
  }
  std::string ListItemText(int id, int index) const override {
    const LRESULT n = SendMessageA(Item(id), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (n == CB_ERR) return "";
    std::string text(static_cast<std::size_t>(n) + 1, '\0');
    SendMessageA(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(n));
    return text;
  }
  void SetListItemHeight(int id, int which, int height) override {
    SendMessageA(Item(id), CB_SETITEMHEIGHT, static_cast<WPARAM>(which), height);
  }
  int ListItemHeight(int id, int which) const override {
    return static_cast<int>(
        SendMessageA(Item(id), CB_GETITEMHEIGHT, static_cast<WPARAM>(which), 0));
  }

  void InsertColumn(int id, int column, const std::string& title, ColumnFormat format,
                    int width) override {
    LVCOLUMNA col{};
    col.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.fmt = format == ColumnFormat::kCenter  ? LVCFMT_CENTER
              : format == ColumnFormat::kRight ? LVCFMT_RIGHT
                                               : LVCFMT_LEFT;
    col.cx = width;
    col.pszText = const_cast<char*>(title.c_str());
    col.iSubItem = column;
    SendMessageA(Item(id), LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                 reinterpret_cast<LPARAM>(&col));
  }
  int ColumnCount(int id) const override {
    HWND header = reinterpret_cast<HWND>(SendMessageA(Item(id), LVM_GETHEADER, 0, 0));
    return header ? static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
  }
  int ColumnWidth(int id, int column) const override {
    return static_cast<int>(SendMessageA(Item(id), LVM_GETCOLUMNWIDTH, column, 0));
  }
  std::string ColumnTitle(int id, int column) const override {
    char buffer[256] = {};
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT;
    col.pszText = buffer;
    col.cchTextMax = sizeof buffer;
    SendMessageA(Item(id), LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(&col));
    return buffer;
  }
  int InsertRow(int id, int row, const std::string& text) override {
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.pszText = const_cast<char*>(text.c_str());
    return static_cast<int>(
        SendMessageA(Item(id), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
  }
  void SetCell(int id, int row, int column, const std::string& text) override {
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = const_cast<char*>(text.c_str());
    SendMessageA(Item(id), LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  }
  std::string Cell(int id, int row, int column) const override {
    std::vector<char> buffer(256);
    for (;;) {
      LVITEMA item{};
      item.iSubItem = column;
      item.pszText = buffer.data();
      item.cchTextMax = static_cast<int>(buffer.size());
      const LRESULT n =
          SendMessageA(Item(id), LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
      if (static_cast<std::size_t>(n) + 1 < buffer.size()) {
        return std::string(buffer.data(), static_cast<std::size_t>(n));
      }
      buffer.resize(buffer.size() * 4);
    }
  }
  void DeleteRow(int id, int row) override { SendMessageA(Item(id), LVM_DELETEITEM, row, 0); }
  void DeleteAllRows(int id) override { SendMessageA(Item(id), LVM_DELETEALLITEMS, 0, 0); }
  int RowCount(int id) const override {
    return static_cast<int>(SendMessageA(Item(id), LVM_GETITEMCOUNT, 0, 0));
  }
  void SetRowCountHint(int id, int rows) override {
    SendMessageA(Item(id), LVM_SETITEMCOUNT, rows, LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
  }
  int SelectionMark(int id) const override {
    return static_cast<int>(SendMessageA(Item(id), LVM_GETSELECTIONMARK, 0, 0));
  }
  void SetSelectionMark(int id, int row) override {
    SendMessageA(Item(id), LVM_SETSELECTIONMARK, 0, row);
  }
  void SetRowSelected(int id, int row, bool on) override {
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = on ? (LVIS_SELECTED | LVIS_FOCUSED) : 0;
    SendMessageA(Item(id), LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
  }
  bool IsRowSelected(int id, int row) const override {
    return (SendMessageA(Item(id), LVM_GETITEMSTATE, row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  }
  int RowTop(int id, int row) const override {
    RECT r{};
    r.left = LVIR_BOUNDS;
    SendMessageA(Item(id), LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&r));
    return r.top;
  }
  void ScrollList(int id, int dy) override { SendMessageA(Item(id), LVM_SCROLL, 0, dy); }
  void ModifyListStyle(int id, unsigned add, unsigned remove) override {
    HWND list = Item(id);
    const LONG style = GetWindowLongA(list, GWL_STYLE);
    SetWindowLongA(list, GWL_STYLE,
                   static_cast<LONG>((style & ~ListStyleBits(remove)) | ListStyleBits(add)));
    SetWindowPos(list, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  unsigned ListStyle(int id) const override {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(Item(id), GWL_STYLE));
    unsigned out = 0;
    if (style & LVS_OWNERDRAWFIXED) out |= kOwnerDrawFixed;
    if (style & LVS_SINGLESEL) out |= kSingleSelection;
    if (style & LVS_NOCOLUMNHEADER) out |= kNoColumnHeader;
    if (style & LVS_SHOWSELALWAYS) out |= kShowSelectionAlways;
    return out;
  }
  void SetListExtendedStyle(int id, unsigned styles) override {
    SendMessageA(Item(id), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 (styles & kFullRowSelect) ? LVS_EX_FULLROWSELECT : 0);
  }
  unsigned ListExtendedStyleOf(int id) const override {
    const LRESULT ex = SendMessageA(Item(id), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    return (ex & LVS_EX_FULLROWSELECT) ? kFullRowSelect : kListExNone;
  }

  void SetTimer(int timer_id, unsigned milliseconds) override;
  void KillTimer(int timer_id) override;
  bool HasTimer(int timer_id) const override;

  BoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                           BoxButtons buttons) override {
    const int answer = MessageBoxA(hwnd_, text.c_str(), caption.c_str(),
                                   buttons == BoxButtons::kYesNo ? MB_YESNO : MB_OK);
    if (answer == IDYES) return BoxAnswer::kYes;
    if (answer == IDNO) return BoxAnswer::kNo;
    return BoxAnswer::kOk;
  }

  HWND hwnd() const { return hwnd_; }
  WindowEvents& events() { return events_; }
  Win32Window* owner() { return owner_; }
  const DialogLayout& layout() const { return layout_; }
  bool modal_ended() const { return modal_ended_; }
  int modal_result() const { return modal_result_; }
  void set_modal() { modal_ = true; }

 private:
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  static DWORD ListStyleBits(unsigned styles) {
    DWORD bits = 0;
    if (styles & kOwnerDrawFixed) bits |= LVS_OWNERDRAWFIXED;
    if (styles & kSingleSelection) bits |= LVS_SINGLESEL;
    if (styles & kNoColumnHeader) bits |= LVS_NOCOLUMNHEADER;
    if (styles & kShowSelectionAlways) bits |= LVS_SHOWSELALWAYS;
    return bits;
  }
  HBRUSH BrushOf(std::optional<Rgb> rgb);
  INT_PTR ControlColor(HDC dc, HWND control);
  bool PaintBackground(HDC dc);
  LRESULT CustomDraw(NMLVCUSTOMDRAW& draw);
  INT_PTR Handle(UINT msg, WPARAM wparam, LPARAM lparam);
  void DrawOwnerButton(const DRAWITEMSTRUCT& item);

  const DialogLayout& layout_;
  WindowEvents& events_;
  Win32Window* owner_;
  HWND hwnd_ = nullptr;
  std::vector<HFONT> fonts_;
  std::map<Rgb, HBRUSH> brushes_;
  bool modal_ = false;
  bool modal_ended_ = false;
  int modal_result_ = 0;
};

class Win32Ui : public WindowSystem, public Driver {
 public:
  void InitCommonControls() override {
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&icc);
  }

  std::unique_ptr<Window> Create(const DialogLayout& layout, WindowEvents& events,
                                 Window* owner) override {
    auto window = std::make_unique<Win32Window>(layout, events, static_cast<Win32Window*>(owner));
    const std::vector<WORD> tmpl = win32::BuildDialogTemplate(layout);
    HWND parent = owner ? static_cast<Win32Window*>(owner)->hwnd() : nullptr;
    HWND hwnd = CreateDialogIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(tmpl.data()), parent,
        &Win32Window::DialogProc, reinterpret_cast<LPARAM>(window.get()));
    if (hwnd == nullptr) return nullptr;
    return window;
  }

  int RunModal(Window& w) override {
    auto& window = static_cast<Win32Window&>(w);
    window.set_modal();
    HWND owner = window.owner() ? window.owner()->hwnd() : nullptr;
    const bool owner_was_enabled = owner && IsWindowEnabled(owner);
    if (owner) EnableWindow(owner, FALSE);
    if (window.layout().visible) ShowWindow(window.hwnd(), SW_SHOW);
    MSG msg;
    while (!window.modal_ended() && window.Exists()) {
      const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(static_cast<int>(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (!PreTranslate(msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
    if (owner && owner_was_enabled) EnableWindow(owner, TRUE);
    return window.modal_result();
  }

  void PostCommandTo(std::uintptr_t window, int id) override {
    PostMessageA(reinterpret_cast<HWND>(window), WM_COMMAND, MAKEWPARAM(id, 0), 0);
  }
  void PostMessageTo(std::uintptr_t window, unsigned message, std::uintptr_t wparam,
                     std::intptr_t lparam) override {
    PostMessageA(reinterpret_cast<HWND>(window), message, wparam, lparam);
  }
  void SendTo(std::uintptr_t window, const std::function<void()>& call) override {
    HWND hwnd = reinterpret_cast<HWND>(window);
    if (!IsWindow(hwnd)) return;
    if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) {
      call();
      return;
    }
    SendMessageA(hwnd, kRunCall, 0, reinterpret_cast<LPARAM>(&call));
  }

  void StartWorker(std::function<void()> work) override { workers_.Start(std::move(work)); }
  bool WaitForWorkers(unsigned milliseconds) override {
    return workers_.WaitAll(std::chrono::milliseconds(milliseconds));
  }

  // --- registry of the windows, for the driver
  void Register(HWND hwnd, Win32Window* window) {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_[hwnd] = window;
    registered_[hwnd] = ++registrations_;
    changed_.notify_all();
  }
  void Unregister(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    windows_.erase(hwnd);
    registered_.erase(hwnd);
    timers_.KillAll(reinterpret_cast<std::uintptr_t>(hwnd));
  }
  Win32Window* WindowOf(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : it->second;
  }
  bool driven() const { return driven_.load(); }

  // --- timers: virtual ones while a driver runs the UI; otherwise real
  // ones, recorded here too so that HasTimer answers for them
  void SetVirtualTimer(HWND hwnd, int id, unsigned ms) {
    std::lock_guard<std::mutex> lock(mutex_);
    timers_.Set(reinterpret_cast<std::uintptr_t>(hwnd), id, ms);
  }
  void KillVirtualTimer(HWND hwnd, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    timers_.Kill(reinterpret_cast<std::uintptr_t>(hwnd), id);
  }
  bool HasVirtualTimer(HWND hwnd, int id) {
    std::lock_guard<std::mutex> lock(mutex_);
    return timers_.Has(reinterpret_cast<std::uintptr_t>(hwnd), id);
  }

  void MarkerSeen(LPARAM marker) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (marker == marker_) marker_seen_ = true;
    changed_.notify_all();
  }

  // --- Driver
  void StartUi(std::function<void()> app) override {
    WaitUiEnded(20000);
    driven_ = true;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ui_running_ = true;
    }
    ui_thread_ = std::thread([this, app = std::move(app)] {
      ui_thread_id_ = GetCurrentThreadId();
      app();
      std::lock_guard<std::mutex> lock(mutex_);
      ui_running_ = false;
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

  bool HasWindow(int dialog_id) override { return Find(dialog_id) != nullptr; }

  bool Inspect(int dialog_id, const std::function<void(Window&)>& call) override {
    HWND hwnd = Find(dialog_id);
    if (!hwnd) return false;
    bool found = false;
    const std::function<void()> run = [&] {
      if (Win32Window* w = WindowOf(hwnd)) {
        found = true;
        call(*w);
      }
    };
    SendMessageA(hwnd, kRunCall, 0, reinterpret_cast<LPARAM>(&run));
    return found;
  }

  void Type(int dialog_id, int control_id, const std::string& text) override {
    HWND item = UsableItem(dialog_id, control_id);
    if (item) SendMessageA(item, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  void Click(int dialog_id, int control_id) override {
    HWND item = UsableItem(dialog_id, control_id);
    if (item) PostMessageA(item, BM_CLICK, 0, 0);
  }

  void PressKey(int dialog_id, Key key) override {
    HWND hwnd = Find(dialog_id);
    if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return;
    const WPARAM vk = key == Key::kEnter ? VK_RETURN : key == Key::kEscape ? VK_ESCAPE : VK_SPACE;
    PostMessageA(hwnd, WM_KEYDOWN, vk, 1);
  }

  void ChooseListItem(int dialog_id, int control_id, int index) override {
    HWND item = UsableItem(dialog_id, control_id);
    if (item) SendMessageA(item, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }

  void SysCommand(int dialog_id, int command) override {
    HWND hwnd = Find(dialog_id);
    if (hwnd) PostMessageA(hwnd, WM_SYSCOMMAND, static_cast<WPARAM>(command), 0);
  }

  std::optional<OpenBox> WaitMessageBox(unsigned milliseconds) override {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    for (;;) {
      if (HWND box = FindBox()) {
        OpenBox open;
        open.caption = WindowTextOf(box);
        open.text = WindowTextOf(GetDlgItem(box, 0xFFFF));
        open.buttons = GetDlgItem(box, IDYES) ? BoxButtons::kYesNo : BoxButtons::kOk;
        return open;
      }
      if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
      Sleep(10);
    }
  }

  bool AnswerMessageBox(BoxAnswer answer) override {
    HWND box = FindBox();
    if (!box) return false;
    const int id = answer == BoxAnswer::kYes ? IDYES : answer == BoxAnswer::kNo ? IDNO : IDOK;
    HWND button = GetDlgItem(box, id);
    if (!button) return false;
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    for (int i = 0; i < 500 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(10);
    return true;
  }

  bool SaveScreenshot(const std::string& bmp_path) override;

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
      PostMessageA(reinterpret_cast<HWND>(due->window), WM_TIMER, static_cast<WPARAM>(due->id), 0);
    }
  }

  bool RunUntilIdle() override {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    {
      // A UI that has not made its first window yet is not idle.
      std::unique_lock<std::mutex> lock(mutex_);
      changed_.wait_until(lock, deadline, [this] { return !ui_running_ || !windows_.empty(); });
    }
    int quiet_rounds = 0;
    while (std::chrono::steady_clock::now() < deadline) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      if (!workers_.WaitAll(left)) return false;
      if (!RoundTrip()) return workers_.Running() == 0;
      if (workers_.Running() == 0 && ++quiet_rounds >= 2) return true;
    }
    return false;
  }

  // A key-down goes to the pre-translation of its window and then of its
  // owners; true when it was taken care of.
  bool PreTranslate(MSG& msg) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    Win32Window* target = root ? WindowOf(root) : nullptr;
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE)) {
      const Key key = msg.wParam == VK_RETURN ? Key::kEnter : Key::kEscape;
      for (Win32Window* x = target; x != nullptr; x = x->owner()) {
        const KeyRoute route = x->events().PreTranslateKeyDown(key);
        if (route == KeyRoute::kSwallowed) return true;
        if (route == KeyRoute::kDialogManager) {
          // The key goes to that dialog: as it came when the dialog is its
          // own window's, addressed to the owner's dialog otherwise.
          MSG copy = msg;
          if (x->hwnd() != root) copy.hwnd = x->hwnd();
          return IsDialogMessageA(x->hwnd(), &copy) != FALSE;
        }
      }
      return true;
    }
    return target != nullptr && IsDialogMessageA(target->hwnd(), &msg) != FALSE;
  }

 private:
  HWND Find(int dialog_id) {
    std::lock_guard<std::mutex> lock(mutex_);
    HWND found = nullptr;
    for (const auto& [hwnd, w] : windows_) {
      if (w->TemplateId() == dialog_id && IsWindow(hwnd)) found = hwnd;
    }
    return found;
  }

  // A control the user can reach: its window shown and enabled, it too.
  HWND UsableItem(int dialog_id, int control_id) {
    HWND hwnd = Find(dialog_id);
    if (!hwnd || !IsWindowVisible(hwnd) || !IsWindowEnabled(hwnd)) return nullptr;
    HWND item = GetDlgItem(hwnd, control_id);
    if (!item || !IsWindowVisible(item) || !IsWindowEnabled(item)) return nullptr;
    return item;
  }

  struct BoxSearch {
    Win32Ui* ui;
    HWND box;
  };
  static BOOL CALLBACK FindBoxProc(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<BoxSearch*>(param);
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (std::string(cls) == "#32770" && IsWindowVisible(hwnd) && !s->ui->WindowOf(hwnd)) {
      s->box = hwnd;
      return FALSE;
    }
    return TRUE;
  }

  // The open message box of the UI thread: a dialog that is none of ours.
  HWND FindBox() {
    BoxSearch search{this, nullptr};
    EnumThreadWindows(ui_thread_id_.load(), &FindBoxProc, reinterpret_cast<LPARAM>(&search));
    return search.box;
  }

  // Posts a marker to a window of the UI thread and waits until the UI
  // thread reaches it: everything posted before has been handled.
  bool RoundTrip() {
    HWND any = nullptr;
    LPARAM marker = 0;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!ui_running_) return false;
      // The oldest window: the one least likely to go away meanwhile.
      std::uint64_t oldest = ~0ull;
      for (const auto& [hwnd, w] : windows_) {
        const auto order = registered_.find(hwnd);
        if (IsWindow(hwnd) && order != registered_.end() && order->second < oldest) {
          oldest = order->second;
          any = hwnd;
        }
      }
      if (!any) return false;
      marker = ++marker_;
      marker_seen_ = false;
    }
    PostMessageA(any, kMarker, 0, marker);
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10),
                             [this] { return marker_seen_ || !ui_running_; });
  }

  std::mutex mutex_;
  std::condition_variable changed_;
  std::map<HWND, Win32Window*> windows_;
  std::map<HWND, std::uint64_t> registered_;  // order of creation
  std::uint64_t registrations_ = 0;
  VirtualTimers timers_;
  LPARAM marker_ = 0;
  bool marker_seen_ = false;
  bool ui_running_ = false;
  std::atomic<bool> driven_{false};
  std::atomic<DWORD> ui_thread_id_{0};
  std::thread ui_thread_;
  platform::WorkerTracker workers_;
};

Win32Ui& TheUi() {
  static Win32Ui* ui = new Win32Ui;  // lives as long as detached workers may
  return *ui;
}

INT_PTR CALLBACK Win32Window::DialogProc(HWND hwnd, UINT msg, WPARAM wparam, LPARAM lparam) {
  if (msg == WM_INITDIALOG) {
    auto* window = reinterpret_cast<Win32Window*>(lparam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
    window->hwnd_ = hwnd;
    TheUi().Register(hwnd, window);
  }
  auto* window = reinterpret_cast<Win32Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (window == nullptr) return FALSE;
  return window->Handle(msg, wparam, lparam);
}

INT_PTR Win32Window::Handle(UINT msg, WPARAM wparam, LPARAM lparam) {
  switch (msg) {
    case WM_INITDIALOG:
      for (const auto& [id, items] : layout_.list_items) {
        for (const std::string& item : items) {
          SendMessageA(Item(id), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
      }
      events_.OnCreate(*this);
      return events_.OnInitDialog() ? TRUE : FALSE;
    case WM_COMMAND: {
      const int id = LOWORD(wparam);
      const int code = HIWORD(wparam);
      if (lparam == 0 || code == BN_CLICKED) {
        // IDOK and IDCANCEL without a control of that id are the dialog
        // manager's Enter and Escape.
        if (id == IDCANCEL && !Item(IDCANCEL)) {
          events_.OnCancel();
        } else if (id == IDOK && !Item(IDOK)) {
          events_.OnOK();
        } else {
          events_.OnCommand(id);
        }
      }
      return TRUE;
    }
    case WM_TIMER:
      events_.OnTimer(static_cast<int>(wparam));
      return TRUE;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) < 0xF000) {
        events_.OnSysCommand(static_cast<int>(wparam));
        return TRUE;
      }
      return FALSE;
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lparam);
      if ((pos->flags & SWP_SHOWWINDOW) && !events_.MayShow()) pos->flags &= ~SWP_SHOWWINDOW;
      return FALSE;
    }
    case WM_DESTROY:
      events_.OnDestroy();
      return FALSE;
    case WM_NCDESTROY:
      TheUi().Unregister(hwnd_);
      SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      return FALSE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
      if (item->CtlType != ODT_BUTTON) return FALSE;
      DrawOwnerButton(*item);
      return TRUE;
    }
    case WM_ERASEBKGND:
      return PaintBackground(reinterpret_cast<HDC>(wparam)) ? TRUE : FALSE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
      return ControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam));
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
      const int height = events_.MeasureRow(static_cast<int>(measure->CtlID));
      if (height <= 0) return FALSE;
      measure->itemHeight = static_cast<UINT>(height);
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->code == NM_CUSTOMDRAW) {
        SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT,
                          CustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(lparam)));
        return TRUE;
      }
      if (header->code == NM_CLICK || header->code == NM_DBLCLK) {
        const auto* item = reinterpret_cast<const NMITEMACTIVATE*>(lparam);
        events_.OnListClick(static_cast<int>(header->idFrom), item->iItem,
                            header->code == NM_DBLCLK);
      }
      return FALSE;
    }
    case kRunCall:
      (*reinterpret_cast<const std::function<void()>*>(lparam))();
      return TRUE;
    case kMarker:
      TheUi().MarkerSeen(lparam);
      return TRUE;
    default:
      // The client's own messages, the dial event 0xCCCD among them.
      if (msg >= WM_USER) {
        events_.OnMessage(msg, wparam, lparam);
        return TRUE;
      }
      return FALSE;
  }
}

void Win32Window::DrawOwnerButton(const DRAWITEMSTRUCT& item) {
  // The plain look until a skin gives the button its bitmaps.
  RECT r = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  FillRect(item.hDC, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(item.hDC, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  const std::string text = WindowTextOf(item.hwndItem);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC,
               GetSysColor((item.itemState & ODS_DISABLED) ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  DrawTextA(item.hDC, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

HBRUSH Win32Window::BrushOf(std::optional<Rgb> rgb) {
  if (!rgb) return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  auto it = brushes_.find(*rgb);
  if (it == brushes_.end()) {
    const COLORREF colour = RGB((*rgb >> 16) & 0xFF, (*rgb >> 8) & 0xFF, *rgb & 0xFF);
    it = brushes_.emplace(*rgb, CreateSolidBrush(colour)).first;
  }
  return it->second;
}

static COLORREF ColorRef(Rgb rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

INT_PTR Win32Window::ControlColor(HDC dc, HWND control) {
  const std::optional<ControlColors> colors = events_.ColorsOf(GetDlgCtrlID(control));
  if (!colors) return FALSE;  // the system's colours
  if (colors->text) SetTextColor(dc, ColorRef(*colors->text));
  if (colors->text_background) {
    SetBkColor(dc, ColorRef(*colors->text_background));
  } else {
    SetBkMode(dc, TRANSPARENT);
  }
  return reinterpret_cast<INT_PTR>(BrushOf(colors->brush));
}

bool Win32Window::PaintBackground(HDC dc) {
  const std::optional<int> id = events_.BackgroundBitmap();
  if (!id) return false;
  HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(*id));
  if (!bitmap) return false;  // no picture: the system's background
  BITMAP info{};
  GetObjectA(bitmap, sizeof info, &info);
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return true;
}

LRESULT Win32Window::CustomDraw(NMLVCUSTOMDRAW& draw) {
  if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (draw.nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
    const std::optional<RowColors> colors = events_.ColorsOfRow(
        static_cast<int>(draw.nmcd.hdr.idFrom), static_cast<int>(draw.nmcd.dwItemSpec));
    if (!colors) return CDRF_DODEFAULT;
    draw.clrText = ColorRef(colors->text);
    draw.clrTextBk = ColorRef(colors->background);
    return CDRF_NEWFONT;
  }
  return CDRF_DODEFAULT;
}

void Win32Window::CenterOnOwner() {
  HWND owner = GetWindow(hwnd_, GW_OWNER);
  RECT area{};
  if (owner) {
    GetWindowRect(owner, &area);
  } else {
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT self{};
  GetWindowRect(hwnd_, &self);
  const int w = self.right - self.left;
  const int h = self.bottom - self.top;
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = area.top + (area.bottom - area.top - h) / 2;
  SetWindowPos(hwnd_, nullptr, std::max(x, 0), std::max(y, 0), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Win32Window::EndDialog(int result) {
  if (modal_) {
    modal_result_ = result;
    modal_ended_ = true;
    PostMessageA(hwnd_, WM_NULL, 0, 0);  // wakes the modal loop
  }
  ShowWindow(hwnd_, SW_HIDE);
}

void Win32Window::Destroy() {
  if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
  hwnd_ = nullptr;
  for (HFONT font : fonts_) DeleteObject(font);
  fonts_.clear();
  for (auto& [rgb, brush] : brushes_) DeleteObject(brush);
  brushes_.clear();
}

void Win32Window::SetTimer(int timer_id, unsigned milliseconds) {
  if (TheUi().driven()) {
    TheUi().SetVirtualTimer(hwnd_, timer_id, milliseconds);
  } else {
    ::SetTimer(hwnd_, static_cast<UINT_PTR>(timer_id), milliseconds, nullptr);
    TheUi().SetVirtualTimer(hwnd_, timer_id, milliseconds);
  }
}

void Win32Window::KillTimer(int timer_id) {
  if (!TheUi().driven()) ::KillTimer(hwnd_, static_cast<UINT_PTR>(timer_id));
  TheUi().KillVirtualTimer(hwnd_, timer_id);
}

bool Win32Window::HasTimer(int timer_id) const { return TheUi().HasVirtualTimer(hwnd_, timer_id); }

BOOL CALLBACK RedrawProc(HWND hwnd, LPARAM) {
  RedrawWindow(hwnd, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
  return TRUE;
}

bool Win32Ui::SaveScreenshot(const std::string& bmp_path) {
  // Everything painted first: paint waits behind posted input otherwise.
  EnumThreadWindows(ui_thread_id_.load(), &RedrawProc, 0);
  Sleep(200);
  const int w = GetSystemMetrics(SM_CXSCREEN);
  const int h = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) / 4) * 4;
    const DWORD size = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + size;
    HANDLE out = CreateFileA(bmp_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      ok = WriteFile(out, &file, sizeof file, &written, nullptr) &&
           WriteFile(out, &info.bmiHeader, sizeof info.bmiHeader, &written, nullptr) &&
           WriteFile(out, bits, size, &written, nullptr);
      CloseHandle(out);
    }
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace

WindowSystem& SystemWindows() { return TheUi(); }
Driver& SystemDriver() { return TheUi(); }

}  // namespace vexo::ui
