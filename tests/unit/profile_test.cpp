// The profile rules, against the backend's real profile functions: the host
// emulation natively, the system's own API under Wine. The same table passes
// on both, which is what shows that the emulation keeps the Windows rules.
#include <gtest/gtest.h>

#include <string>

#include "platform/os.h"
#include "support/temp_dir.h"

namespace {

using vexo::platform::SystemOs;

struct ReadCase {
  const char* name;
  const char* file;  // nullptr: no file at all
  const char* section;
  const char* key;
  std::size_t buffer;
  const char* fallback;
  const char* expected;
};

const ReadCase kReadCases[] = {
    {"plain", "[OPTION]\r\nid=abc\r\n", "OPTION", "id", 80, "d", "abc"},
    {"names without case", "[option]\r\nID=abc\r\n", "OPTION", "id", 80, "d", "abc"},
    {"first key wins", "[OPTION]\r\nid=one\r\nid=two\r\n", "OPTION", "id", 80, "d", "one"},
    {"first section wins", "[OPTION]\r\nid=one\r\n[OPTION]\r\nid=two\r\n", "OPTION", "id", 80, "d",
     "one"},
    {"blanks trimmed", "[ OPTION ]\r\n  id  =  a b  \r\n", "OPTION", "id", 80, "d", "a b"},
    {"double quotes removed", "[OPTION]\r\nid=\"a b\"\r\n", "OPTION", "id", 80, "d", "a b"},
    {"single quotes removed", "[OPTION]\r\nid='ab'\r\n", "OPTION", "id", 80, "d", "ab"},
    {"one pair only", "[OPTION]\r\nid=\"\"ab\"\"\r\n", "OPTION", "id", 80, "d", "\"ab\""},
    {"unmatched quote kept", "[OPTION]\r\nid=\"ab\r\n", "OPTION", "id", 80, "d", "\"ab"},
    {"comment line", "[OPTION]\r\n;id=hidden\r\nid=shown\r\n", "OPTION", "id", 80, "d", "shown"},
    {"line feeds only", "[OPTION]\nid=abc\nx=1\n", "OPTION", "id", 80, "d", "abc"},
    {"no final line end", "[OPTION]\r\nid=abc", "OPTION", "id", 80, "d", "abc"},
    {"empty value", "[OPTION]\r\nid=\r\n", "OPTION", "id", 80, "d", ""},
    {"equals inside value", "[OPTION]\r\nid=a=b\r\n", "OPTION", "id", 80, "d", "a=b"},
    {"code page bytes kept", "[OPTION]\r\nid=\xb0\xa1\xb3\xaa\r\n", "OPTION", "id", 80, "d",
     "\xb0\xa1\xb3\xaa"},
    {"other section's key", "[A]\r\nid=a\r\n[OPTION]\r\nx=1\r\n", "OPTION", "id", 80, "d", "d"},
    {"missing key", "[OPTION]\r\nx=1\r\n", "OPTION", "id", 80, "dflt", "dflt"},
    {"missing section", "[OTHER]\r\nid=1\r\n", "OPTION", "id", 80, "dflt", "dflt"},
    {"missing file", nullptr, "OPTION", "id", 80, "dflt", "dflt"},
    {"default's trailing blanks dropped", nullptr, "OPTION", "id", 80, "dflt  ", "dflt"},
    {"cut to the buffer", "[OPTION]\r\nid=abcdefgh\r\n", "OPTION", "id", 4, "d", "abc"},
    {"exactly fits", "[OPTION]\r\nid=abc\r\n", "OPTION", "id", 4, "d", "abc"},
    {"default cut too", nullptr, "OPTION", "id", 3, "dflt", "df"},
};

TEST(ProfileTest, ReadsByTheWindowsRules) {
  for (const ReadCase& c : kReadCases) {
    vexo::test::TempDir dir;
    const std::string path = dir.File("t.ini");
    if (c.file) vexo::test::WriteFileBytes(path, c.file);
    EXPECT_EQ(SystemOs().GetProfileString(c.section, c.key, c.fallback, c.buffer, path), c.expected)
        << c.name;
  }
}

struct IntCase {
  const char* value;  // nullptr: key missing
  int expected;
};

TEST(ProfileTest, ReadsIntegersAsTheSystemDoes) {
  const IntCase cases[] = {
      {"7", 7},      {"-5", -5}, {"+3", 3},
      {"12abc", 12}, {"abc", 0}, {" 42 ", 42},
      {nullptr, 99}, {"0", 0},   {"2147483647", 2147483647},
  };
  for (const IntCase& c : cases) {
    vexo::test::TempDir dir;
    const std::string path = dir.File("t.ini");
    std::string content = "[OPTION]\r\n";
    if (c.value) content += std::string("n=") + c.value + "\r\n";
    vexo::test::WriteFileBytes(path, content);
    EXPECT_EQ(SystemOs().GetProfileInt("OPTION", "n", 99, path), c.expected)
        << (c.value ? c.value : "(missing)");
  }
}

TEST(ProfileTest, WriteCreatesFileAndSection) {
  vexo::test::TempDir dir;
  const std::string path = dir.File("new.ini");
  ASSERT_TRUE(SystemOs().WriteProfileString("OPTION", "id", "abc", path));
  EXPECT_EQ(SystemOs().GetProfileString("OPTION", "id", "", 80, path), "abc");

  ASSERT_TRUE(SystemOs().WriteProfileString("SERVER", "api", "127.0.0.1:8080", path));
  EXPECT_EQ(SystemOs().GetProfileString("SERVER", "api", "", 80, path), "127.0.0.1:8080");
  EXPECT_EQ(SystemOs().GetProfileString("OPTION", "id", "", 80, path), "abc");
}

TEST(ProfileTest, WriteReplacesInPlaceAndKeepsTheRest) {
  vexo::test::TempDir dir;
  const std::string path = dir.File("t.ini");
  vexo::test::WriteFileBytes(path, "[A]\r\nk=1\r\n[OPTION]\r\nid=old\r\npwd=p\r\n[B]\r\nk=2\r\n");
  ASSERT_TRUE(SystemOs().WriteProfileString("option", "ID", "new", path));
  ASSERT_TRUE(SystemOs().WriteProfileString("OPTION", "type", "1", path));
  EXPECT_EQ(SystemOs().GetProfileString("OPTION", "id", "", 80, path), "new");
  EXPECT_EQ(SystemOs().GetProfileString("OPTION", "pwd", "", 80, path), "p");
  EXPECT_EQ(SystemOs().GetProfileString("OPTION", "type", "", 80, path), "1");
  EXPECT_EQ(SystemOs().GetProfileString("A", "k", "", 80, path), "1");
  EXPECT_EQ(SystemOs().GetProfileString("B", "k", "", 80, path), "2");
}

TEST(ProfileTest, WriteKeepsCodePageBytesAndLongValues) {
  vexo::test::TempDir dir;
  const std::string path = dir.File("t.ini");
  const std::string value = "\xb0\xa1&#%+= " + std::string(300, 'z');
  ASSERT_TRUE(SystemOs().WriteProfileString("OPTION", "id", value, path));
  EXPECT_EQ(SystemOs().GetProfileString("OPTION", "id", "", 1024, path), value);
}

}  // namespace
