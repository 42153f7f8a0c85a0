// The start and the login window, driven like a user against the lab. The
// same scenarios run on the host backend and on real windows under Wine.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ui/driver.h"
#include "res/resource_ids.h"
#include "support/client_fixture.h"

namespace {

namespace res = vexo::res;
using vexo::test::ClientFixture;
using vexo::test::LabControl;
using vexo::ui::BoxAnswer;
using vexo::ui::BoxButtons;
using vexo::ui::Key;

const std::string kPw1Digest = "6e6fdf956d04289354dcf1619e28fe77";
const std::string kTail = "&pc=TESTPC&v_num=1234ABCD&rnd=201835974&c_ver=V1.0";

class LoginScenario : public ClientFixture {
 protected:
  void LogIn(const std::string& id, const std::string& password) {
    driver().Type(res::kLoginDialog, res::kIdEdit, id);
    driver().Type(res::kLoginDialog, res::kPasswordEdit, password);
    driver().Click(res::kLoginDialog, res::kLoginButton);
    ASSERT_TRUE(Idle());
  }
};

TEST_F(LoginScenario, FirstStartShowsAnEmptyFixedChoice) {
  StartClient();
  EXPECT_TRUE(Visible(res::kLoginDialog));
  EXPECT_FALSE(Visible(res::kFixedDialog)) << "created hidden";
  EXPECT_FALSE(Visible(res::kDynamicDialog));
  driver().Inspect(res::kLoginDialog, [](vexo::ui::Window& w) {
    EXPECT_EQ(w.Text(), "Vexo - VPN");
    EXPECT_EQ(w.ItemText(res::kIdEdit), "");
    EXPECT_EQ(w.ItemText(res::kPasswordEdit), "");
    EXPECT_EQ(w.CheckedRadio(res::kFixedRadio, res::kDynamicRadio), 0);
    EXPECT_TRUE(w.IsItemEnabled(res::kFixedTypeList));
    EXPECT_EQ(w.ListSelection(res::kFixedTypeList), 0);
    EXPECT_EQ(w.ListItemText(res::kFixedTypeList, 2), "고정-기간사");
    EXPECT_FALSE(w.IsItemEnabled(res::kDynamicTypeList));
    EXPECT_EQ(w.ListSelection(res::kDynamicTypeList), 0);
    EXPECT_EQ(w.ListItemCount(res::kDynamicTypeList), 2);
  });
  driver().Inspect(res::kDynamicDialog, [](vexo::ui::Window& w) {
    EXPECT_EQ(w.ItemText(res::kMinutesEdit), "10");
    EXPECT_EQ(w.ColumnCount(res::kServerList), 4);
  });
  driver().Inspect(res::kFixedDialog, [](vexo::ui::Window& w) {
    ASSERT_EQ(w.ColumnCount(res::kServerList), 7);
    EXPECT_EQ(w.ColumnTitle(res::kServerList, 3), "메모");
    EXPECT_EQ(w.ColumnWidth(res::kServerList, 1), 105);
    EXPECT_EQ(w.ColumnWidth(res::kServerList, 6), 0) << "server column hidden";
    const unsigned style = w.ListStyle(res::kServerList);
    EXPECT_TRUE(style & vexo::ui::kNoColumnHeader);
    EXPECT_FALSE(style & vexo::ui::kOwnerDrawFixed);
    EXPECT_TRUE(style & vexo::ui::kSingleSelection);
    EXPECT_EQ(w.ListExtendedStyleOf(res::kServerList), vexo::ui::kFullRowSelect);
    EXPECT_FALSE(w.IsItemEnabled(res::kStartChangeButton));
    EXPECT_FALSE(w.IsItemEnabled(res::kMinutesEdit));
  });
  EXPECT_TRUE(LabControl::Log().empty()) << "nothing is sent before a login";
}

TEST_F(LoginScenario, MissingFieldsAreAskedForAndNothingIsSent) {
  struct Case {
    const char* id;
    const char* password;
    const char* message;
  };
  const Case cases[] = {
      {"", "", "아이디를 입력하세요"},
      {"", "pw1", "아이디를 입력하세요"},
      {"kim", "", "패스워드를 입력하세요"},
  };
  StartClient();
  for (const Case& c : cases) {
    LogIn(c.id, c.password);
    std::string caption;
    BoxButtons buttons = BoxButtons::kYesNo;
    EXPECT_EQ(AnswerBox(BoxAnswer::kOk, &caption, &buttons), c.message)
        << c.id << "/" << c.password;
    EXPECT_EQ(caption, "Vexovpn");
    EXPECT_EQ(buttons, BoxButtons::kOk);
    EXPECT_TRUE(Enabled(res::kLoginDialog, res::kLoginButton));
  }
  EXPECT_TRUE(Requests("/API/VS_LOGIN/").empty());
}

TEST_F(LoginScenario, FixedKtLoginHandsOverAndWritesTheSettingsInOrder) {
  StartClient();
  driver().ChooseListItem(res::kLoginDialog, res::kFixedTypeList, 1);
  LogIn("kim", "pw1");
  const auto sent = Requests("/API/VS_LOGIN/");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].query, "id=kim&pwd=" + kPw1Digest + "&s_flag=VsKT" + kTail);
  EXPECT_TRUE(Visible(res::kFixedDialog));
  EXPECT_FALSE(Visible(res::kLoginDialog));
  EXPECT_EQ(Text(res::kFixedDialog, res::kProductLabel), "KT");
  EXPECT_EQ(Text(res::kFixedDialog, res::kUserLine), "사용자 : kim");
  EXPECT_EQ(vexo::test::KeysInOrder(SettingsFile()),
            (std::vector<std::string>{"id", "pwd", "autotime", "noticestime", "type", "services",
                                      "stype", "api", "web"}))
      << SettingsFile();
  EXPECT_NE(SettingsFile().find("stype=1"), std::string::npos);
  EXPECT_EQ(SettingsFile().find("dtype"), std::string::npos) << "the fixed login leaves dtype";
  EXPECT_EQ(SettingsFile().find("pw1\r"), std::string::npos) << "never the password itself";
}

TEST_F(LoginScenario, DynamicBLoginSendsTypeNineAndStartsTheCheck) {
  StartClient();
  driver().Click(res::kLoginDialog, res::kDynamicRadio);
  ASSERT_TRUE(Idle());
  EXPECT_TRUE(Enabled(res::kLoginDialog, res::kDynamicTypeList));
  EXPECT_FALSE(Enabled(res::kLoginDialog, res::kFixedTypeList));
  driver().ChooseListItem(res::kLoginDialog, res::kDynamicTypeList, 1);
  LogIn("kim", "pw1");
  const auto sent = Requests("/API/VD_LOGIN/");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].query, "id=kim&pwd=" + kPw1Digest + "&force=false&type=9" + kTail);
  EXPECT_TRUE(Visible(res::kDynamicDialog));
  EXPECT_FALSE(Visible(res::kLoginDialog));
  EXPECT_EQ(Text(res::kDynamicDialog, res::kExpiryLine), "2027-06-30");
  driver().Inspect(res::kDynamicDialog, [](vexo::ui::Window& w) { EXPECT_TRUE(w.HasTimer(2)); });
  EXPECT_EQ(vexo::test::KeysInOrder(SettingsFile()).back(), "web");
  EXPECT_NE(SettingsFile().find("dtype=1"), std::string::npos);
  EXPECT_NE(SettingsFile().find("services=1"), std::string::npos);
}

TEST_F(LoginScenario, SavedAccountSendsItsDigestAndARetypedOneItsOwn) {
  SeedSettings("id=kim\r\npwd=" + kPw1Digest + "\r\nservices=0\r\nstype=7\r\n");
  StartClient();
  EXPECT_EQ(Text(res::kLoginDialog, res::kPasswordEdit), kPw1Digest) << "32 masked characters";
  driver().Inspect(res::kLoginDialog, [](vexo::ui::Window& w) {
    EXPECT_EQ(w.ListSelection(res::kFixedTypeList), 2) << "stype 7 is the third type";
  });
  // Typing into the digest makes it a new password: its digest is refused.
  driver().Type(res::kLoginDialog, res::kPasswordEdit, kPw1Digest + "x");
  driver().Click(res::kLoginDialog, res::kLoginButton);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(AnswerBox(), "로그인에 실패하였습니다. 아이디와 패스워드를 확인하세요");
  // Retyped, and then untouched: the digest of the typed text, then the same.
  driver().Type(res::kLoginDialog, res::kPasswordEdit, "other");
  driver().Click(res::kLoginDialog, res::kLoginButton);
  ASSERT_TRUE(Idle());
  AnswerBox();
  const auto sent = Requests("/API/VS_LOGIN/");
  ASSERT_EQ(sent.size(), 2u);
  EXPECT_EQ(sent[0].query, "id=kim&pwd=f0baf9232405949fb17a1efd14b4dcd0&s_flag=VsETC" + kTail);
  EXPECT_EQ(sent[1].query, "id=kim&pwd=795f3202b17cb6bc3d4b771d8c6c9eaf&s_flag=VsETC" + kTail);
}

TEST_F(LoginScenario, SavedDigestUntouchedLogsIn) {
  SeedSettings("id=kim\r\npwd=" + kPw1Digest + "\r\n");
  StartClient();
  driver().Click(res::kLoginDialog, res::kLoginButton);
  ASSERT_TRUE(Idle());
  const auto sent = Requests("/API/VS_LOGIN/");
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].query, "id=kim&pwd=" + kPw1Digest + "&s_flag=Vs" + kTail);
  EXPECT_TRUE(Visible(res::kFixedDialog));
}

TEST_F(LoginScenario, RefusalWordingFollowsCapsLockAtThatMoment) {
  StartClient();
  for (const bool caps : {true, false}) {
    os_.caps_lock = caps;
    LogIn("kim", "wrong");
    EXPECT_EQ(AnswerBox(), caps ? "로그인에 실패하였습니다. Caps Lock 키가 켜져 있습니다."
                                : "로그인에 실패하였습니다. 아이디와 패스워드를 확인하세요");
    EXPECT_TRUE(Enabled(res::kLoginDialog, res::kLoginButton));
  }
}

TEST_F(LoginScenario, EndedContractAndUnreachableService) {
  StartClient();
  LogIn("ended", "pw2");
  EXPECT_EQ(AnswerBox(), "사용 가능한 계약이 없거나 만료되었습니다.");
  EndClient();
  SeedSettings("", "127.0.0.1:1");
  StartClient();
  LogIn("kim", "pw1");
  EXPECT_EQ(AnswerBox(), "로그인서버에 접속할 수 없습니다.");
  EXPECT_TRUE(Enabled(res::kLoginDialog, res::kLoginButton));
}

TEST_F(LoginScenario, DuplicateLoginAnsweredNoThenYes) {
  LabControl::Control("take_over?id=kim");
  StartClient();
  driver().Click(res::kLoginDialog, res::kDynamicRadio);
  LogIn("kim", "pw1");
  std::string caption;
  BoxButtons buttons = BoxButtons::kOk;
  EXPECT_EQ(AnswerBox(BoxAnswer::kNo, &caption, &buttons),
            "중복접속을 시도하였습니다. 기존 접속을 로그아웃 하시겠습니까?");
  EXPECT_EQ(caption, "Vexo");
  EXPECT_EQ(buttons, BoxButtons::kYesNo);
  EXPECT_EQ(Requests("/API/VD_LOGIN/").size(), 1u) << "No sends nothing more";
  EXPECT_TRUE(Enabled(res::kLoginDialog, res::kLoginButton));

  // Yes repeats with force=true; a failed forced attempt keeps it for the next.
  driver().Click(res::kLoginDialog, res::kLoginButton);
  ASSERT_TRUE(Idle());
  ASSERT_TRUE(driver().WaitMessageBox(10000));
  LabControl::Control("fault?endpoint=VD_LOGIN&kind=empty");
  AnswerBox(BoxAnswer::kYes);
  EXPECT_EQ(AnswerBox(), "로그인에 실패하였습니다. 아이디와 패스워드를 확인하세요");
  LabControl::Control("clear_faults");
  driver().Click(res::kLoginDialog, res::kLoginButton);
  ASSERT_TRUE(Idle());
  const auto sent = Requests("/API/VD_LOGIN/");
  ASSERT_EQ(sent.size(), 4u);
  EXPECT_NE(sent[1].query.find("&force=false&"), std::string::npos);
  EXPECT_NE(sent[2].query.find("&force=true&"), std::string::npos);
  EXPECT_NE(sent[3].query.find("&force=true&"), std::string::npos);
  EXPECT_TRUE(Visible(res::kDynamicDialog));
}

TEST_F(LoginScenario, EnterStartsNothingWhileALoginRunsOrAProductIsInUse) {
  LabControl::Control("fault?endpoint=VS_LOGIN&kind=delay&value=300");
  StartClient();
  driver().Type(res::kLoginDialog, res::kIdEdit, "kim");
  driver().Type(res::kLoginDialog, res::kPasswordEdit, "pw1");
  driver().PressKey(res::kLoginDialog, Key::kEnter);
  driver().PressKey(res::kLoginDialog, Key::kEnter);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Requests("/API/VS_LOGIN/").size(), 1u);
  ASSERT_TRUE(Visible(res::kFixedDialog));
  driver().PressKey(res::kFixedDialog, Key::kEnter);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Requests("/API/VS_LOGIN/").size(), 1u);
  EXPECT_TRUE(Visible(res::kFixedDialog)) << "Enter does not close the product window";
}

TEST_F(LoginScenario, LoginWindowStaysHiddenUntilTheHandBack) {
  StartClient();
  LogIn("kim", "pw1");
  ASSERT_TRUE(Visible(res::kFixedDialog));
  driver().Inspect(res::kLoginDialog, [](vexo::ui::Window& w) { w.Show(true); });
  EXPECT_FALSE(Visible(res::kLoginDialog)) << "the position-changing gate";
  driver().Click(res::kFixedDialog, res::kLogoutButton);
  ASSERT_TRUE(Idle());
  EXPECT_TRUE(Visible(res::kLoginDialog));
  EXPECT_FALSE(Visible(res::kFixedDialog));
  EXPECT_EQ(Text(res::kLoginDialog, res::kIdEdit), "kim");
  EXPECT_EQ(Text(res::kLoginDialog, res::kPasswordEdit), "pw1");
  // The same product window serves the next hand-over.
  driver().Click(res::kLoginDialog, res::kLoginButton);
  ASSERT_TRUE(Idle());
  EXPECT_TRUE(Visible(res::kFixedDialog));
}

TEST_F(LoginScenario, AboutBoxAndWebPages) {
  StartClient();
  driver().SysCommand(res::kLoginDialog, res::kAboutMenuCommand);
  ASSERT_TRUE(Idle());
  ASSERT_TRUE(driver().HasWindow(res::kAboutDialog));
  driver().Inspect(res::kAboutDialog, [](vexo::ui::Window& w) {
    EXPECT_EQ(w.Text(), "vexo_vpn 정보");
    EXPECT_EQ(w.ItemText(1), "확인");
  });
  driver().Click(res::kLoginDialog, res::kLoginButton);  // the login window is disabled now
  ASSERT_TRUE(Idle());
  EXPECT_TRUE(Requests("/API/VS_LOGIN/").empty());
  driver().PressKey(res::kAboutDialog, Key::kEscape);
  ASSERT_TRUE(Idle());
  EXPECT_FALSE(driver().HasWindow(res::kAboutDialog));

  driver().Click(res::kLoginDialog, res::kSignUpButton);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(os_.LastOpened(), "http://" + LabControl::Address() + "/Auth/SignUp/");
  driver().Click(res::kLoginDialog, res::kFindIdButton);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(os_.LastOpened(), "http://" + LabControl::Address() + "/Auth/SearchIdPW/");
}

TEST_F(LoginScenario, EscapeClosesTheLoginWindowAndEndsTheClient) {
  StartClient();
  driver().PressKey(res::kLoginDialog, Key::kEscape);
  EXPECT_TRUE(driver().WaitUiEnded(10000));
}

TEST_F(LoginScenario, SecondCopyEndsAtOnce) {
  vexo::platform::GuardResult result = vexo::platform::GuardResult::kFailed;
  auto first = os_.CreateInstanceGuard("Global\\VexoVPN", result);
  ASSERT_EQ(result, vexo::platform::GuardResult::kCreated);
  StartClient();
  EXPECT_TRUE(driver().WaitUiEnded(10000));
  EXPECT_FALSE(driver().HasWindow(res::kLoginDialog));
}

}  // namespace

namespace {

// Where the screenshots of the windows go: VEXO_SCREENSHOT_DIR, in the form
// the backend's file functions take.
std::string ScreenshotPath(const std::string& name) {
  const char* dir = std::getenv("VEXO_SCREENSHOT_DIR");
  if (dir == nullptr || *dir == '\0') return "";
  std::string path = std::string(dir) + "/" + name;
#ifdef _WIN32
  if (path[0] == '/') path = "Z:" + path;  // Wine's drive for the Unix root
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
#endif
  return path;
}

TEST_F(LoginScenario, ScreenshotsOfTheLoginWindowAndTheAboutBox) {
  if (ScreenshotPath("x").empty()) GTEST_SKIP() << "VEXO_SCREENSHOT_DIR is not set";
  StartClient();
  driver().Type(res::kLoginDialog, res::kIdEdit, "kim");
  driver().Type(res::kLoginDialog, res::kPasswordEdit, "pw1");
  ASSERT_TRUE(Idle());
  if (!driver().SaveScreenshot(ScreenshotPath("login.bmp"))) {
    GTEST_SKIP() << "this backend has no screen";
  }
  driver().SysCommand(res::kLoginDialog, res::kAboutMenuCommand);
  ASSERT_TRUE(Idle());
  ASSERT_TRUE(driver().HasWindow(res::kAboutDialog));
  EXPECT_TRUE(driver().SaveScreenshot(ScreenshotPath("about.bmp")));
  driver().PressKey(res::kAboutDialog, Key::kEscape);
  ASSERT_TRUE(Idle());
}

}  // namespace
