// A client running against the lab, driven like a user: its own settings
// directory, a fixed machine and clock, the UI on a thread of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/driver.h"
#include "support/lab_control.h"
#include "support/temp_dir.h"
#include "support/test_os.h"

namespace vexo::test {

class ClientFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the settings file before the start; the SERVER section is added.
  void SeedSettings(const std::string& option_lines, const std::string& api_host = "");
  void StartClient();
  // Ends the client however it stands: boxes answered, windows closed.
  void EndClient();

  bool Idle() { return driver().RunUntilIdle(); }
  ui::Driver& driver() { return ui::SystemDriver(); }

  std::string Text(int dialog, int control);
  bool Enabled(int dialog, int control);
  bool Visible(int dialog);
  // The box that is open now, answered with `answer`; its text.
  std::string AnswerBox(ui::BoxAnswer answer = ui::BoxAnswer::kOk, std::string* caption = nullptr,
                        ui::BoxButtons* buttons = nullptr);
  // The requests the lab saw to `path`.
  std::vector<LoggedRequest> Requests(const std::string& path);
  std::string SettingsFile() { return ReadFileBytes(dir_.File("Vexovpn.ini")); }

  TempDir dir_;
  TestOs os_{dir_.path()};
};

// The key names of an INI file's lines, in order.
std::vector<std::string> KeysInOrder(const std::string& ini);

}  // namespace vexo::test
