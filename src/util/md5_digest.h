// The password digest: MD5 of a text (or of a file's bytes) as 32 lower-case
// hexadecimal characters.
#pragma once

#include <string>

class CMd5Digest {
 public:
  static constexpr int kTextMode = 1;
  static constexpr int kFileMode = 2;

  // Replaces the text to digest in text mode.
  void SetText(const std::string& text) { m_strText = text; }
  // The file to digest in file mode.
  void SetFilePath(const std::string& path) { m_strFilePath = path; }
  void SetMode(int mode) { m_nMode = mode; }

  // The digest of the text (text mode) or of the file (file mode: empty when
  // the path is empty, the file cannot be opened or holds no byte). The
  // object is unchanged and can be asked again.
  std::string GetDigest() const;

 private:
  std::string m_strText;
  std::string m_strFilePath;
  int m_nMode = kTextMode;
};

// The digest that the service receives and the settings keep for a password.
std::string DigestPassword(const std::string& password);
