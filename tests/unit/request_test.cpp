#include "api/request.h"

#include <gtest/gtest.h>

namespace {

using vexo::api::MakeTimeStamp;
using vexo::api::PercentEncode;
using vexo::api::RequestAddress;

TEST(RequestTest, AddressKeepsTheEndpointsKeyOrder) {
  RequestAddress address("api.example", vexo::api::kVsLogin);
  address.Add("id", "user")
      .Add("pwd", "0cc1")
      .Add("s_flag", "VsKT")
      .Add("pc", "PC1")
      .Add("v_num", "1A2B")
      .Add("rnd", "201835974")
      .Add("c_ver", vexo::api::kClientVersion);
  EXPECT_EQ(address.Url(),
            "http://api.example/API/VS_LOGIN/?id=user&pwd=0cc1&s_flag=VsKT&pc=PC1&v_num=1A2B"
            "&rnd=201835974&c_ver=V1.0");
  RequestAddress notice("127.0.0.1:8080", vexo::api::kNotice);
  notice.Add("reg_time", "2018-03-05 09:07:04");
  EXPECT_EQ(notice.Url(), "http://127.0.0.1:8080/API/Notice/?reg_time=2018-03-05%2009%3A07%3A04");
  EXPECT_EQ(vexo::api::MyIpUrl("api.example"), "http://api.example/API/MyIP");
}

TEST(RequestTest, ValuesArePercentEncodedByteByByte) {
  struct Case {
    std::string in, out;
  };
  const Case cases[] = {
      {"plain-id_1.2~", "plain-id_1.2~"},
      {"a&pwd=x", "a%26pwd%3Dx"},
      {"#%+ ", "%23%25%2B%20"},
      {"가", "%B0%A1"},  // the literal's CP949 bytes
      {std::string("\x00\xff", 2), "%00%FF"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PercentEncode(c.in), c.out) << c.in;
}

TEST(RequestTest, TimeStampHasNoPadding) {
  EXPECT_EQ(MakeTimeStamp({2018, 3, 5, 9, 7, 4}), "201835974");
  EXPECT_EQ(MakeTimeStamp({2026, 12, 31, 23, 59, 59}), "20261231235959");
  // Different moments can give the same digits.
  EXPECT_EQ(MakeTimeStamp({2018, 1, 11, 10, 0, 0}), MakeTimeStamp({2018, 11, 1, 10, 0, 0}));
}

}  // namespace
