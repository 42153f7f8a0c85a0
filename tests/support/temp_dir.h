// A fresh directory for one test, removed with everything in it at the end.
// Its path is in the backend's own form (Windows paths under the win32 backend).
#pragma once

#include <string>

namespace vexo::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  // `name` inside the directory, joined with the backend's separator.
  std::string File(const std::string& name) const;

 private:
  std::string path_;
};

// The whole content of a file, or "<missing>".
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace vexo::test
