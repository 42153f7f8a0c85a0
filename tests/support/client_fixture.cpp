#include "support/client_fixture.h"

#include "app/corvane_app.h"
#include "platform/net.h"
#include "platform/rasapi.h"
#include "res/resource_ids.h"

namespace vexo::test {

void ClientFixture::SetUp() {
  LabControl::Reset();
  os_.caps_lock = false;
}

void ClientFixture::TearDown() {
  EndClient();
  LabControl::Reset();
}

void ClientFixture::SeedSettings(const std::string& option_lines, const std::string& api_host) {
  const std::string host = api_host.empty() ? LabControl::Address() : api_host;
  WriteFileBytes(dir_.File("Vexovpn.ini"), "[OPTION]\r\n" + option_lines + "[SERVER]\r\napi=" +
                                               host + "\r\nweb=" + LabControl::Address() + "\r\n");
}

void ClientFixture::StartClient() {
  if (ReadFileBytes(dir_.File("Vexovpn.ini")) == "<missing>") SeedSettings("");
  TestOs& os = os_;
  driver().StartUi([&os] {
    CCorvaneApp app(
        ClientEnv{os, platform::SystemNet(), ui::SystemWindows(), platform::SystemRas()});
    app.InitInstance();
  });
  ASSERT_TRUE(Idle());
}

void ClientFixture::EndClient() {
  for (int attempt = 0; attempt < 20 && !driver().WaitUiEnded(0); ++attempt) {
    if (driver().WaitMessageBox(0)) {
      driver().AnswerMessageBox(ui::BoxAnswer::kNo);
      driver().AnswerMessageBox(ui::BoxAnswer::kOk);
    }
    driver().Inspect(res::kAboutDialog, [](ui::Window& w) { w.EndDialog(2); });
    driver().Inspect(res::kLoginDialog, [](ui::Window& w) { w.EndDialog(2); });
    driver().WaitUiEnded(200);
  }
  ASSERT_TRUE(driver().WaitUiEnded(10000));
}

std::string ClientFixture::Text(int dialog, int control) {
  std::string text = "<no window>";
  driver().Inspect(dialog, [&](ui::Window& w) { text = w.ItemText(control); });
  return text;
}

bool ClientFixture::Enabled(int dialog, int control) {
  bool enabled = false;
  driver().Inspect(dialog, [&](ui::Window& w) { enabled = w.IsItemEnabled(control); });
  return enabled;
}

bool ClientFixture::Visible(int dialog) {
  bool visible = false;
  driver().Inspect(dialog, [&](ui::Window& w) { visible = w.IsVisible(); });
  return visible;
}

std::string ClientFixture::AnswerBox(ui::BoxAnswer answer, std::string* caption,
                                     ui::BoxButtons* buttons) {
  const auto box = driver().WaitMessageBox(10000);
  if (!box) return "<no box>";
  if (caption) *caption = box->caption;
  if (buttons) *buttons = box->buttons;
  driver().AnswerMessageBox(answer);
  Idle();
  return box->text;
}

std::vector<LoggedRequest> ClientFixture::Requests(const std::string& path) {
  std::vector<LoggedRequest> out;
  for (const LoggedRequest& r : LabControl::Log()) {
    if (r.path == path) out.push_back(r);
  }
  return out;
}

std::vector<std::string> KeysInOrder(const std::string& ini) {
  std::vector<std::string> keys;
  std::size_t start = 0;
  while (start < ini.size()) {
    std::size_t end = ini.find('\n', start);
    if (end == std::string::npos) end = ini.size();
    const std::string line = ini.substr(start, end - start);
    const std::size_t eq = line.find('=');
    if (eq != std::string::npos) keys.push_back(line.substr(0, eq));
    start = end + 1;
  }
  return keys;
}

}  // namespace vexo::test
