// The two login exchanges: VS_LOGIN (fixed product) and VD_LOGIN (dynamic
// product): their addresses, their answer grammars and the command each
// outcome posts.
#pragma once

#include <string>

#include "api/exchange.h"
#include "platform/answer_lines.h"

namespace vexo::api {

// What both logins send besides their own keys.
struct LoginFields {
  std::string id;
  std::string pwd_digest;
  std::string pc;
  std::string v_num;
  std::string rnd;
  std::string c_ver;
};

// The fixed product code (s_flag) and the fixed window's label, by the index
// of the fixed type list: "Vs"/"VEXO", "VsKT"/"KT", "VsETC"/"기간사".
std::string FixedProductCode(int index);
std::string FixedProductLabel(int index);
// The dynamic type value: "8" for index 0, "9" for any other.
std::string DynamicTypeValue(int index);

std::string VsLoginUrl(const std::string& host, const LoginFields& f, const std::string& s_flag);
std::string VdLoginUrl(const std::string& host, const LoginFields& f, const std::string& force,
                       const std::string& type);

struct LoginOutcome {
  int command = 0;     // the command to post
  std::string expiry;  // dynamic "TRUE": the contract's expiry text
  std::string auth;    // dynamic "TRUE": the auth value
};

// Answer readers: true when a token line decided; `outcome` then holds it.
bool ReadVsLoginAnswer(platform::AnswerLines& lines, LoginOutcome& outcome);
bool ReadVdLoginAnswer(platform::AnswerLines& lines, LoginOutcome& outcome);

// A whole exchange: the decided command, 1126 without a deciding line, 1128
// when the service cannot be reached. Runs on the calling worker thread.
LoginOutcome RunVsLogin(const ExchangeContext& context, const std::string& url);
LoginOutcome RunVdLogin(const ExchangeContext& context, const std::string& url);

}  // namespace vexo::api
