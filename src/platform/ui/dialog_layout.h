// Dialog templates as data: every control with its id, kind, text, rectangle
// in dialog units and style. The win32 backend builds the in-memory template
// from them, the host backend its control model.
#pragma once

#include <string>
#include <vector>

namespace vexo::ui {

enum class ControlKind {
  kEdit,
  kStatic,
  kPushButton,
  kOwnerDrawButton,
  kRadio,
  kDropList,  // drop-down list (combo box without edit)
  kListView,  // report view
};

// Control styles the templates use (portable names; each backend maps them).
enum ControlStyle : unsigned {
  kStyleNone = 0,
  kPassword = 1u << 0,
  kAutoHScroll = 1u << 1,
  kGroupStart = 1u << 2,
  kVScroll = 1u << 3,
  kCentered = 1u << 4,
  kDigitsOnly = 1u << 5,
  kMultiLine = 1u << 6,
  kBorder = 1u << 7,
  kStaticEdge = 1u << 8,
  kOwnerDrawFixed = 1u << 9,  // list view rows of a measured height
  kSingleSelection = 1u << 10,
  kNoColumnHeader = 1u << 11,
  kShowSelectionAlways = 1u << 12,
  kDefaultButton = 1u << 13,
};

struct ControlLayout {
  int id = 0;
  ControlKind kind = ControlKind::kStatic;
  std::string text;
  int x = 0, y = 0, width = 0, height = 0;  // dialog units
  unsigned style = kStyleNone;
};

struct DialogLayout {
  int id = 0;
  std::string caption;
  int width = 0, height = 0;  // dialog units
  bool has_caption = false;   // false: a pop-up without caption bar
  bool visible = false;       // shown at creation
  bool system_menu = true;
  bool app_window = false;  // a taskbar button of its own
  std::string font = "굴림";
  int font_points = 9;
  std::vector<ControlLayout> controls;
  // Items of drop-down lists, in order, by control id.
  std::vector<std::pair<int, std::vector<std::string>>> list_items;
};

}  // namespace vexo::ui
