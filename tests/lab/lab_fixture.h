// A small world for the lab's tests: two accounts, short address lists, one
// contract in use elsewhere, three notices.
#pragma once

#include <string>

#include "lab_data.h"

namespace vexo::test {

inline const char kLabFixture[] = R"json({
  "accounts": [
    {"id": "kim", "password": "pw1", "contract": true,
     "dynamic": {"types": [8], "expiry": "2027-06-30", "vpn_user": "vd_kim",
                 "vpn_password": "vd-pw", "tunnel": "10.77.0.2"},
     "fixed": {"Vs": [
        {"ip": "203.0.113.10", "expiry": "2027-03-31", "memo": "본사", "rid": "r10",
         "rpwd": "p10", "server": "fix-a.lab"},
        {"ip": "203.0.113.11", "expiry": "2027-04-30", "memo": "지점", "in_use": true,
         "rid": "r11", "rpwd": "p11", "server": "fix-b.lab"}],
        "VsKT": []}},
    {"id": "a&b =#%+\u00e9", "password_md5": "0cc175b9c0f1b6a831c399e269772661",
     "fixed": {"VsETC": [{"ip": "192.0.2.30", "expiry": "2026-12-31", "memo": "m",
                          "rid": "r", "rpwd": "p", "server": "etc.lab"}]}}
  ],
  "dynamic_lists": {
    "8": [{"ip": "211.45.10.11", "server": "dyn-a1.lab"},
          {"ip": "211.45.10.12", "server": "dyn-a2.lab"}],
    "9": [{"ip": "175.20.30.41", "server": "dyn-b1.lab"}]
  },
  "notices": [
    {"registered": "2026-11-20 09:00:00", "title": "one"},
    {"registered": "2026-12-01 14:30:00", "title": "two"},
    {"registered": "2026-12-10 18:00:00", "title": "three"}
  ]
})json";

inline vexo::lab::LabData LabFixture() { return vexo::lab::ParseLabData(kLabFixture); }

}  // namespace vexo::test
