// Resource and control ids of the client's windows.
#pragma once

namespace vexo::res {

// Dialog templates.
inline constexpr int kAboutDialog = 100;
inline constexpr int kLoginDialog = 102;
inline constexpr int kFixedDialog = 129;
inline constexpr int kDynamicDialog = 172;

// Icon and strings.
inline constexpr int kIcon = 136;
inline constexpr int kStringAbout = 101;
inline constexpr int kAboutMenuCommand = 0x10;

// Login window.
inline constexpr int kIdEdit = 1000;
inline constexpr int kPasswordEdit = 1001;
inline constexpr int kLoginButton = 1002;
inline constexpr int kFindIdButton = 1005;
inline constexpr int kSignUpButton = 1006;
inline constexpr int kMinimizeButton = 1029;
inline constexpr int kCloseButton = 1030;
inline constexpr int kFixedRadio = 1035;
inline constexpr int kDynamicRadio = 1036;
inline constexpr int kDynamicTypeList = 1037;
inline constexpr int kFixedTypeList = 1039;

// Product windows (ids shared by both unless named).
inline constexpr int kCloseX = 2;
inline constexpr int kLogoutButton = 1004;
inline constexpr int kServerList = 1006;
inline constexpr int kMinutesEdit = 1011;
inline constexpr int kSearchEdit = 1012;
inline constexpr int kDisconnectButton = 1015;
inline constexpr int kHomeButton = 1017;
inline constexpr int kPaymentButton = 1018;
inline constexpr int kReloadButton = 1019;
inline constexpr int kNoticeButton = 1020;
inline constexpr int kQnaButton = 1021;
inline constexpr int kStatusLine = 1023;
inline constexpr int kL2tpRadio = 1024;
inline constexpr int kPptpRadio = 1025;
inline constexpr int kUserLine = 1026;
inline constexpr int kAddressLine = 1027;
inline constexpr int kStartChangeButton = 1028;
inline constexpr int kExpiryLine = 1029;       // dynamic window
inline constexpr int kProductMinimize = 1030;  // product windows' minimise button
inline constexpr int kSearchButton = 1031;
inline constexpr int kAddressLabel = 1032;
inline constexpr int kCountdown = 1033;
inline constexpr int kExpiryLabel = 1034;
inline constexpr int kProductLabel = 1039;  // fixed window

}  // namespace vexo::res
