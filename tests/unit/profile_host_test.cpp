// What the host profile emulation promises beyond the shared table: the
// exact lines it writes, so a hand-edited file keeps its comments and order.
#include <gtest/gtest.h>

#include "platform/os.h"
#include "support/temp_dir.h"

namespace {

using vexo::platform::SystemOs;

TEST(ProfileHostTest, WriteChangesOneLineAndKeepsEveryOther) {
  vexo::test::TempDir dir;
  const std::string path = dir.File("t.ini");
  vexo::test::WriteFileBytes(path,
                             "; settings\r\n[OPTION]\r\n  ID = old \r\n; note\r\npwd=p\r\n\r\n"
                             "[B]\r\nk=2\r\n");
  ASSERT_TRUE(SystemOs().WriteProfileString("OPTION", "id", "new", path));
  ASSERT_TRUE(SystemOs().WriteProfileString("OPTION", "type", "1", path));
  ASSERT_TRUE(SystemOs().WriteProfileString("C", "x", "y", path));
  EXPECT_EQ(vexo::test::ReadFileBytes(path),
            "; settings\r\n[OPTION]\r\nID=new\r\n; note\r\npwd=p\r\ntype=1\r\n\r\n"
            "[B]\r\nk=2\r\n[C]\r\nx=y\r\n");
}

TEST(ProfileHostTest, WindowsSeparatorsReachTheFile) {
  vexo::test::TempDir dir;
  ASSERT_TRUE(SystemOs().WriteProfileString("OPTION", "id", "a", dir.path() + "\\w.ini"));
  EXPECT_EQ(vexo::test::ReadFileBytes(dir.File("w.ini")), "[OPTION]\r\nid=a\r\n");
}

TEST(ProfileHostTest, FailedWriteReportsAndLeavesNothing) {
  EXPECT_FALSE(SystemOs().WriteProfileString("OPTION", "id", "a", "/nonexistent-dir/x/t.ini"));
}

}  // namespace
