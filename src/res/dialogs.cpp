#include "res/dialogs.h"

#include "res/resource_ids.h"

namespace vexo::res {
namespace {

using ui::ControlKind;
using ui::ControlLayout;
using ui::DialogLayout;

ControlLayout C(int id, ControlKind kind, const char* text, int x, int y, int w, int h,
                unsigned style = ui::kStyleNone) {
  ControlLayout c;
  c.id = id;
  c.kind = kind;
  c.text = text;
  c.x = x;
  c.y = y;
  c.width = w;
  c.height = h;
  c.style = style;
  return c;
}

constexpr ControlKind kEdit = ControlKind::kEdit;
constexpr ControlKind kStatic = ControlKind::kStatic;
constexpr ControlKind kPush = ControlKind::kPushButton;
constexpr ControlKind kOwner = ControlKind::kOwnerDrawButton;
constexpr ControlKind kRadio = ControlKind::kRadio;
constexpr ControlKind kDrop = ControlKind::kDropList;
constexpr ControlKind kListView = ControlKind::kListView;

DialogLayout MakeAbout() {
  DialogLayout d;
  d.id = kAboutDialog;
  d.caption = "vexo_vpn 정보";
  d.width = 170;
  d.height = 62;
  d.has_caption = true;
  d.visible = true;
  d.font = "굴림";
  d.font_points = 9;
  d.controls = {
      C(-1, kStatic, "vexo_vpn, 버전 2.0", 42, 14, 114, 8),
      C(1, kPush, "확인", 113, 41, 50, 14, ui::kGroupStart | ui::kDefaultButton),
  };
  return d;
}

DialogLayout MakeLogin() {
  DialogLayout d;
  d.id = kLoginDialog;
  d.caption = "Vexo - VPN";
  d.width = 230;
  d.height = 448;
  d.visible = true;
  d.app_window = true;
  d.font = "굴림";
  d.font_points = 9;
  d.controls = {
      C(kIdEdit, kEdit, "", 60, 244, 124, 12, ui::kAutoHScroll),
      C(kPasswordEdit, kEdit, "", 60, 284, 124, 12, ui::kPassword | ui::kAutoHScroll),
      C(kLoginButton, kOwner, "로그인", 34, 320, 40, 24),
      C(kFindIdButton, kOwner, "id/pwd 찾기", 108, 384, 43, 16),
      C(kSignUpButton, kOwner, "회원가입", 34, 383, 32, 17),
      C(kMinimizeButton, kOwner, "_", 187, 12, 13, 13),
      C(kCloseButton, kOwner, "X", 209, 12, 13, 13),
      C(kFixedRadio, kRadio, "", 34, 191, 9, 9, ui::kGroupStart),
      C(kDynamicRadio, kRadio, "", 127, 191, 9, 9),
      C(kDynamicTypeList, kDrop, "", 128, 204, 67, 59, ui::kVScroll),
      C(kFixedTypeList, kDrop, "", 34, 204, 67, 58, ui::kVScroll),
  };
  d.list_items = {
      {kDynamicTypeList, {"유동-A", "유동-B"}},
      {kFixedTypeList, {"고정-VEXO", "고정-KT", "고정-기간사"}},
  };
  return d;
}

DialogLayout MakeDynamic() {
  DialogLayout d;
  d.id = kDynamicDialog;
  d.width = 230;
  d.height = 489;
  d.font = "굴림";
  d.font_points = 8;
  d.controls = {
      C(kCloseX, kOwner, "X", 208, 12, 12, 15),
      C(kProductMinimize, kOwner, "_", 187, 12, 12, 15),
      C(kUserLine, kStatic, "사용자 :", 16, 50, 157, 10),
      C(kServerList, kListView, "", 6, 165, 216, 187,
        ui::kOwnerDrawFixed | ui::kSingleSelection | ui::kShowSelectionAlways),
      C(kAddressLine, kStatic, "", 165, 65, 56, 10),
      C(kAddressLabel, kStatic, "접속아이피 :", 125, 65, 36, 10),
      C(kLogoutButton, kOwner, "로그아웃", 183, 421, 38, 20),
      C(kMinutesEdit, kEdit, "", 112, 361, 19, 13, ui::kDigitsOnly | ui::kCentered | ui::kBorder),
      C(kDisconnectButton, kOwner, "연결끊기", 183, 391, 36, 15),
      C(kHomeButton, kOwner, "홈으로", 1, 421, 38, 20),
      C(kPaymentButton, kOwner, "결재하기", 137, 421, 38, 20),
      C(kQnaButton, kOwner, "1:1문의", 92, 421, 38, 20),
      C(kReloadButton, kOwner, "리스트갱신", 6, 391, 39, 15),
      C(kL2tpRadio, kRadio, "", 9, 363, 9, 9, ui::kGroupStart),
      C(kPptpRadio, kRadio, "", 41, 363, 9, 9),
      C(kStartChangeButton, kOwner, "변경시작", 158, 360, 31, 15),
      C(kNoticeButton, kOwner, "공지사항", 47, 421, 38, 20),
      C(kStatusLine, kStatic, "", 16, 89, 195, 28),
      C(kCountdown, kStatic, "00:00", 202, 363, 17, 8),
      C(kExpiryLine, kStatic, "", 42, 65, 63, 10),
      C(kExpiryLabel, kStatic, "만료일 :", 16, 65, 23, 10),
      C(kSearchButton, kOwner, "SH", 211, 125, 14, 15),
      C(kSearchEdit, kEdit, "", 158, 126, 51, 12, ui::kMultiLine | ui::kCentered),
  };
  return d;
}

DialogLayout MakeFixed() {
  DialogLayout d;
  d.id = kFixedDialog;
  d.width = 230;
  d.height = 489;
  d.font = "굴림";
  d.font_points = 8;
  d.controls = {
      C(kProductMinimize, kOwner, "_", 187, 12, 12, 15),
      C(kCloseX, kOwner, "X", 208, 12, 12, 15),
      C(kLogoutButton, kOwner, "로그아웃", 183, 421, 38, 20),
      C(kUserLine, kStatic, "사용자 :", 16, 50, 157, 10),
      C(kServerList, kListView, "", 6, 152, 216, 187,
        ui::kOwnerDrawFixed | ui::kSingleSelection | ui::kShowSelectionAlways),
      C(kMinutesEdit, kEdit, "", 112, 363, 19, 13,
        ui::kCentered | ui::kDigitsOnly | ui::kAutoHScroll | ui::kStaticEdge),
      C(kDisconnectButton, kOwner, "연결끊기", 183, 391, 36, 15),
      C(kHomeButton, kOwner, "홈으로", 1, 421, 38, 20),
      C(kPaymentButton, kOwner, "결재하기", 137, 421, 38, 20),
      C(kQnaButton, kOwner, "1:1문의", 92, 421, 38, 20),
      C(kReloadButton, kOwner, "리스트갱신", 6, 391, 39, 15),
      C(kStatusLine, kStatic, "", 16, 89, 195, 28),
      C(kL2tpRadio, kRadio, "", 9, 363, 9, 9, ui::kGroupStart),
      C(kPptpRadio, kRadio, "", 41, 363, 9, 9),
      C(kAddressLine, kStatic, "", 54, 65, 97, 10),
      C(kStartChangeButton, kOwner, "변경시작", 158, 360, 31, 15),
      C(kAddressLabel, kStatic, "접속아이피 :", 16, 65, 36, 10),
      C(kNoticeButton, kOwner, "공지사항", 47, 421, 38, 20),
      C(kCountdown, kStatic, "00:00", 202, 363, 17, 8),
      C(kProductLabel, kStatic, "상품", 108, 9, 37, 16),
  };
  return d;
}

}  // namespace

const ui::DialogLayout& AboutDialog() {
  static const DialogLayout layout = MakeAbout();
  return layout;
}
const ui::DialogLayout& LoginDialog() {
  static const DialogLayout layout = MakeLogin();
  return layout;
}
const ui::DialogLayout& FixedDialog() {
  static const DialogLayout layout = MakeFixed();
  return layout;
}
const ui::DialogLayout& DynamicDialog() {
  static const DialogLayout layout = MakeDynamic();
  return layout;
}

}  // namespace vexo::res
