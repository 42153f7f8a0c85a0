#include "util/md5_digest.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace {

struct DigestCase {
  std::string text;
  std::string digest;
};

TEST(Md5DigestTest, TextModeGivesTheReferenceDigests) {
  const DigestCase cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
      // Block edges: 55, 56 and 64 bytes need one more padding block or not.
      {std::string(55, 'x'), "04364420e25c512fd958a70738aa8f72"},
      {std::string(56, 'x'), "668a72d5ba17f08e62dabcafad6db14b"},
      {std::string(64, 'x'), "c1bb4f81d892b2d57947682aeb252456"},
  };
  for (const DigestCase& c : cases) {
    CMd5Digest digest;
    digest.SetText(c.text);
    EXPECT_EQ(digest.GetDigest(), c.digest) << "length " << c.text.size();
    EXPECT_EQ(digest.GetDigest(), c.digest) << "asked a second time";
  }
}

TEST(Md5DigestTest, KoreanPasswordIsDigestedAsItsCodePageBytes) {
  // The literal is compiled to CP949: "비밀번호" is ba f1 b9 d0 b9 f8 c8 a3.
  const std::string password = "비밀번호";
  ASSERT_EQ(password, "\xba\xf1\xb9\xd0\xb9\xf8\xc8\xa3");
  EXPECT_EQ(DigestPassword(password), "13baa6503e89dcd74a6767a851c1f220");
}

TEST(Md5DigestTest, FileModeDigestsTheBytesAndIsEmptyForNothing) {
  vexo::test::TempDir dir;
  const std::string big(5000, 'q');  // several 2048-byte blocks and a short one
  vexo::test::WriteFileBytes(dir.File("big.bin"), big);
  vexo::test::WriteFileBytes(dir.File("abc.bin"), "abc");
  vexo::test::WriteFileBytes(dir.File("empty.bin"), "");
  vexo::test::WriteFileBytes(dir.File("crlf.bin"), "a\r\nb");

  auto file_digest = [](const std::string& path) {
    CMd5Digest digest;
    digest.SetFilePath(path);
    digest.SetMode(CMd5Digest::kFileMode);
    return digest.GetDigest();
  };
  EXPECT_EQ(file_digest(dir.File("abc.bin")), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(file_digest(dir.File("big.bin")), DigestPassword(big));
  EXPECT_EQ(file_digest(dir.File("crlf.bin")), DigestPassword("a\r\nb")) << "no text translation";
  EXPECT_EQ(file_digest(dir.File("empty.bin")), "");
  EXPECT_EQ(file_digest(dir.File("missing.bin")), "");
  EXPECT_EQ(file_digest(""), "");
}

}  // namespace
