#include "platform/text.h"

#include <gtest/gtest.h>

namespace {

TEST(TextTest, Utf8BecomesTheKoreanCodePage) {
  // Written as UTF-8 bytes: the literals of this file are compiled to CP949.
  EXPECT_EQ(vexo::platform::Utf8ToAnsi("\xea\xb0\x80"), "\xb0\xa1");            // 가
  EXPECT_EQ(vexo::platform::Utf8ToAnsi("VEXO \xed\x95\x9c"), "VEXO \xc7\xd1");  // 한
  EXPECT_EQ(vexo::platform::Utf8ToAnsi("a\xf0\x9f\x98\x80"
                                       "b"),
            "a??b")
      << "one per UTF-16 unit";
  EXPECT_EQ(vexo::platform::Utf8ToAnsi(""), "");
}

}  // namespace
