#include "util/md5_digest.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

// MD5 as RFC 1321 gives it; the state is local to one computation.
class Md5 {
 public:
  void Update(const unsigned char* data, std::size_t size) {
    std::size_t index = static_cast<std::size_t>((bits_ >> 3) & 0x3F);
    bits_ += static_cast<std::uint64_t>(size) << 3;
    const std::size_t part = 64 - index;
    std::size_t i = 0;
    if (size >= part) {
      std::memcpy(block_ + index, data, part);
      Transform(block_);
      for (i = part; i + 63 < size; i += 64) Transform(data + i);
      index = 0;
    }
    std::memcpy(block_ + index, data + i, size - i);
  }

  std::string HexDigest() {
    unsigned char length[8];
    for (int i = 0; i < 8; ++i) length[i] = static_cast<unsigned char>(bits_ >> (8 * i));
    static const unsigned char kPadding[64] = {0x80};
    const std::size_t index = static_cast<std::size_t>((bits_ >> 3) & 0x3F);
    Update(kPadding, index < 56 ? 56 - index : 120 - index);
    Update(length, 8);
    static const char kHex[] = "0123456789abcdef";
    std::string hex;
    for (std::uint32_t word : state_) {
      for (int b = 0; b < 4; ++b) {
        const unsigned byte = (word >> (8 * b)) & 0xFF;
        hex.push_back(kHex[byte >> 4]);
        hex.push_back(kHex[byte & 0xF]);
      }
    }
    return hex;
  }

 private:
  static std::uint32_t Rotl(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

  void Transform(const unsigned char* block) {
    static const std::uint32_t kT[64] = {
        0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
        0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
        0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
        0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
        0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
        0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
        0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
        0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
        0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
        0xeb86d391};
    static const int kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                   5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                   4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                   6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};
    std::uint32_t x[16];
    for (std::size_t i = 0; i < 16; ++i) {
      x[i] = static_cast<std::uint32_t>(block[4 * i]) |
             (static_cast<std::uint32_t>(block[4 * i + 1]) << 8) |
             (static_cast<std::uint32_t>(block[4 * i + 2]) << 16) |
             (static_cast<std::uint32_t>(block[4 * i + 3]) << 24);
    }
    std::uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
    for (int i = 0; i < 64; ++i) {
      std::uint32_t f = 0;
      int g = 0;
      if (i < 16) {
        f = (b & c) | (~b & d);
        g = i;
      } else if (i < 32) {
        f = (b & d) | (c & ~d);
        g = (5 * i + 1) % 16;
      } else if (i < 48) {
        f = b ^ c ^ d;
        g = (3 * i + 5) % 16;
      } else {
        f = c ^ (b | ~d);
        g = (7 * i) % 16;
      }
      const std::uint32_t next = b + Rotl(a + f + kT[i] + x[g], kShift[i]);
      a = d;
      d = c;
      c = b;
      b = next;
    }
    state_[0] += a;
    state_[1] += b;
    state_[2] += c;
    state_[3] += d;
  }

  std::uint32_t state_[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  std::uint64_t bits_ = 0;
  unsigned char block_[64] = {};
};

}  // namespace

std::string CMd5Digest::GetDigest() const {
  Md5 md5;
  if (m_nMode != kFileMode) {
    md5.Update(reinterpret_cast<const unsigned char*>(m_strText.data()), m_strText.size());
    return md5.HexDigest();
  }
  if (m_strFilePath.empty()) return std::string();
  std::FILE* file = std::fopen(m_strFilePath.c_str(), "rb");
  if (file == nullptr) return std::string();
  unsigned char block[2048];
  std::size_t total = 0;
  for (;;) {
    const std::size_t n = std::fread(block, 1, sizeof block, file);
    md5.Update(block, n);
    total += n;
    if (n < sizeof block) break;
  }
  std::fclose(file);
  if (total == 0) return std::string();
  return md5.HexDigest();
}

std::string DigestPassword(const std::string& password) {
  CMd5Digest digest;
  digest.SetText(password);
  return digest.GetDigest();
}
