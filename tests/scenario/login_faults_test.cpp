// The login exchange against every fault the lab can put on the line: each
// ends in the outcome its answer calls for, on the backend's own HTTP stack.
#include <gtest/gtest.h>

#include <string>

#include "api/command_ids.h"
#include "api/login_exchange.h"
#include "platform/net.h"
#include "support/lab_control.h"
#include "support/test_os.h"

namespace {

using vexo::test::LabControl;

TEST(LoginFaultsTest, EachFaultEndsInItsOutcome) {
  struct Case {
    const char* fault;
    int command;
  };
  const Case cases[] = {
      {"", vexo::cmd::kFixedLoginAccepted},
      {"kind=http500", vexo::cmd::kLoginRefused},  // an error page is an answer
      {"kind=html", vexo::cmd::kLoginRefused},
      {"kind=garbage", vexo::cmd::kLoginRefused},
      {"kind=empty", vexo::cmd::kLoginRefused},
      {"kind=huge", vexo::cmd::kFixedLoginAccepted},  // the token after a 16 MB line
      {"kind=cr", vexo::cmd::kFixedLoginAccepted},    // "TRUE\r": the CR is dropped
      {"kind=drip&value=5", vexo::cmd::kFixedLoginAccepted},
      {"kind=delay&value=50", vexo::cmd::kFixedLoginAccepted},
      {"kind=close", vexo::cmd::kLoginServerUnreachable},
      // Cut after the headers (83 bytes) and "TR" of the body.
      {"kind=reset&value=85", vexo::cmd::kLoginServerUnreachable},
  };
  vexo::test::TestOs os(".");
  const vexo::api::ExchangeContext context{vexo::platform::SystemNet(), os, "Vexovpn"};
  vexo::api::LoginFields fields;
  fields.id = "kim";
  fields.pwd_digest = "6e6fdf956d04289354dcf1619e28fe77";
  fields.pc = "TESTPC";
  fields.v_num = "1234ABCD";
  fields.rnd = "1";
  fields.c_ver = "V1.0";
  const std::string url = vexo::api::VsLoginUrl(LabControl::Address(), fields, "Vs");
  for (const Case& c : cases) {
    LabControl::Reset();
    if (*c.fault) LabControl::Control(std::string("fault?endpoint=VS_LOGIN&") + c.fault);
    EXPECT_EQ(vexo::api::RunVsLogin(context, url).command, c.command) << c.fault;
  }
  LabControl::Reset();
}

}  // namespace
