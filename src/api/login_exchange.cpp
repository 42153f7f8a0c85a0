#include "api/login_exchange.h"

#include "api/command_ids.h"
#include "api/request.h"

namespace vexo::api {

std::string FixedProductCode(int index) {
  return index == 0 ? "Vs" : index == 1 ? "VsKT" : "VsETC";
}

std::string FixedProductLabel(int index) {
  return index == 0 ? "VEXO" : index == 1 ? "KT" : "기간사";
}

std::string DynamicTypeValue(int index) { return index == 0 ? "8" : "9"; }

std::string VsLoginUrl(const std::string& host, const LoginFields& f, const std::string& s_flag) {
  RequestAddress address(host, kVsLogin);
  address.Add("id", f.id)
      .Add("pwd", f.pwd_digest)
      .Add("s_flag", s_flag)
      .Add("pc", f.pc)
      .Add("v_num", f.v_num)
      .Add("rnd", f.rnd)
      .Add("c_ver", f.c_ver);
  return address.Url();
}

std::string VdLoginUrl(const std::string& host, const LoginFields& f, const std::string& force,
                       const std::string& type) {
  RequestAddress address(host, kVdLogin);
  address.Add("id", f.id)
      .Add("pwd", f.pwd_digest)
      .Add("force", force)
      .Add("type", type)
      .Add("pc", f.pc)
      .Add("v_num", f.v_num)
      .Add("rnd", f.rnd)
      .Add("c_ver", f.c_ver);
  return address.Url();
}

bool ReadVsLoginAnswer(platform::AnswerLines& lines, LoginOutcome& outcome) {
  std::string line;
  while (lines.ReadLine(line)) {
    if (line == "TRUE") {
      outcome.command = cmd::kFixedLoginAccepted;
      return true;
    }
    if (line == "END") {
      outcome.command = cmd::kContractEnded;
      return true;
    }
  }
  return false;
}

bool ReadVdLoginAnswer(platform::AnswerLines& lines, LoginOutcome& outcome) {
  std::string line;
  while (lines.ReadLine(line)) {
    if (line == "END") {
      outcome.command = cmd::kContractEnded;
      return true;
    }
    if (line == "DUP") {
      outcome.command = cmd::kDuplicateLogin;
      return true;
    }
    if (line == "TRUE") {
      // Two more lines; missing ones are empty texts.
      if (!lines.ReadLine(outcome.expiry)) outcome.expiry.clear();
      if (!lines.ReadLine(outcome.auth)) outcome.auth.clear();
      outcome.command = cmd::kDynamicLoginAccepted;
      return true;
    }
  }
  return false;
}

namespace {

LoginOutcome RunLogin(const ExchangeContext& context, const std::string& url,
                      bool (*reader)(platform::AnswerLines&, LoginOutcome&)) {
  LoginOutcome outcome;
  const ExchangeResult result = RunExchange(
      context, url, [&](platform::AnswerLines& lines) { return reader(lines, outcome); });
  if (result == ExchangeResult::kUnreachable) outcome = {cmd::kLoginServerUnreachable, "", ""};
  if (result == ExchangeResult::kUndecided) outcome = {cmd::kLoginRefused, "", ""};
  return outcome;
}

}  // namespace

LoginOutcome RunVsLogin(const ExchangeContext& context, const std::string& url) {
  return RunLogin(context, url, &ReadVsLoginAnswer);
}

LoginOutcome RunVdLogin(const ExchangeContext& context, const std::string& url) {
  return RunLogin(context, url, &ReadVdLoginAnswer);
}

}  // namespace vexo::api
