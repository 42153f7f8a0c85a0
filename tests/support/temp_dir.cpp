#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace vexo::test {
namespace {

std::atomic<int> g_counter{0};

}  // namespace

TempDir::TempDir() {
  namespace fs = std::filesystem;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  fs::path dir = fs::temp_directory_path() /
                 ("vexo-test-" + std::to_string(stamp) + "-" + std::to_string(g_counter++));
  fs::create_directories(dir);
  path_ = dir.string();
#ifdef _WIN32
  for (char& c : path_) {
    if (c == '/') c = '\\';
  }
#endif
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& name) const {
#ifdef _WIN32
  return path_ + "\\" + name;
#else
  return path_ + "/" + name;
#endif
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "<missing>";
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace vexo::test
