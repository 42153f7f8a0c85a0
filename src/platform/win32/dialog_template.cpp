#include "platform/win32/dialog_template.h"

#include <commctrl.h>

#include <string>

namespace vexo::ui::win32 {
namespace {

void Align(std::vector<WORD>& t) {
  if (t.size() % 2 != 0) t.push_back(0);
}

void PushDword(std::vector<WORD>& t, DWORD value) {
  t.push_back(LOWORD(value));
  t.push_back(HIWORD(value));
}

// Template strings are UTF-16; the texts are in the ANSI code page.
void PushText(std::vector<WORD>& t, const std::string& text) {
  if (!text.empty()) {
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
    for (wchar_t c : wide) t.push_back(static_cast<WORD>(c));
  }
  t.push_back(0);
}

void PushWide(std::vector<WORD>& t, const wchar_t* text) {
  for (; *text; ++text) t.push_back(static_cast<WORD>(*text));
  t.push_back(0);
}

struct ItemClass {
  WORD atom;            // 0 when named
  const wchar_t* name;  // the class name when not an atom
  DWORD style;
  DWORD ex_style;
};

ItemClass ClassOf(const ControlLayout& c) {
  const unsigned s = c.style;
  DWORD style = WS_CHILD | WS_VISIBLE;
  DWORD ex = 0;
  if (s & kGroupStart) style |= WS_GROUP;
  if (s & kStaticEdge) ex |= WS_EX_STATICEDGE;
  if (s & kBorder) style |= WS_BORDER;
  switch (c.kind) {
    case ControlKind::kEdit:
      style |= WS_TABSTOP | ES_LEFT;
      if (s & kPassword) style |= ES_PASSWORD;
      if (s & kAutoHScroll) style |= ES_AUTOHSCROLL;
      if (s & kCentered) style |= ES_CENTER;
      if (s & kDigitsOnly) style |= ES_NUMBER;
      if (s & kMultiLine) style |= ES_MULTILINE;
      return {0x0081, nullptr, style, ex};
    case ControlKind::kStatic:
      style |= (s & kCentered) ? SS_CENTER : SS_LEFT;
      return {0x0082, nullptr, style, ex};
    case ControlKind::kPushButton:
      style |= WS_TABSTOP | ((s & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
      return {0x0080, nullptr, style, ex};
    case ControlKind::kOwnerDrawButton:
      style |= WS_TABSTOP | BS_OWNERDRAW;
      return {0x0080, nullptr, style, ex};
    case ControlKind::kRadio:
      style |= WS_TABSTOP | BS_AUTORADIOBUTTON;
      return {0x0080, nullptr, style, ex};
    case ControlKind::kDropList:
      style |= WS_TABSTOP | CBS_DROPDOWNLIST | ((s & kVScroll) ? WS_VSCROLL : 0);
      return {0x0085, nullptr, style, ex};
    case ControlKind::kListView:
      style |= WS_TABSTOP | WS_BORDER | LVS_REPORT;
      if (s & kSingleSelection) style |= LVS_SINGLESEL;
      if (s & kShowSelectionAlways) style |= LVS_SHOWSELALWAYS;
      if (s & kNoColumnHeader) style |= LVS_NOCOLUMNHEADER;
      return {0, L"SysListView32", style, ex};
  }
  return {0x0082, nullptr, style, ex};
}

}  // namespace

std::vector<WORD> BuildDialogTemplate(const DialogLayout& layout) {
  std::vector<WORD> t;
  DWORD style = DS_SETFONT | WS_POPUP;
  if (layout.has_caption) style |= WS_CAPTION | DS_MODALFRAME;
  if (layout.system_menu) style |= WS_SYSMENU;
  if (layout.visible) style |= WS_VISIBLE;
  PushDword(t, style);
  PushDword(t, layout.app_window ? WS_EX_APPWINDOW : 0);
  t.push_back(static_cast<WORD>(layout.controls.size()));
  t.push_back(0);  // x
  t.push_back(0);  // y
  t.push_back(static_cast<WORD>(layout.width));
  t.push_back(static_cast<WORD>(layout.height));
  t.push_back(0);  // no menu
  t.push_back(0);  // the standard dialog class
  PushText(t, layout.caption);
  t.push_back(static_cast<WORD>(layout.font_points));
  PushText(t, layout.font);
  for (const ControlLayout& c : layout.controls) {
    Align(t);
    const ItemClass k = ClassOf(c);
    PushDword(t, k.style);
    PushDword(t, k.ex_style);
    t.push_back(static_cast<WORD>(c.x));
    t.push_back(static_cast<WORD>(c.y));
    t.push_back(static_cast<WORD>(c.width));
    t.push_back(static_cast<WORD>(c.height));
    t.push_back(static_cast<WORD>(c.id));
    if (k.atom != 0) {
      t.push_back(0xFFFF);
      t.push_back(k.atom);
    } else {
      PushWide(t, k.name);
    }
    PushText(t, c.text);
    t.push_back(0);  // no creation data
  }
  return t;
}

}  // namespace vexo::ui::win32
