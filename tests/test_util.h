// Small helpers shared by the tests: scratch folders and file contents.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace testutil {

#ifdef _WIN32
inline constexpr char kDelim = '\\';
inline constexpr const char* kExe = ".exe";
#else
inline constexpr char kDelim = '/';
inline constexpr const char* kExe = "";
#endif

// The path with every delimiter in this system's own form.
inline std::string Native(std::string p) {
  for (char& c : p)
    if (c == '/' || c == '\\') c = kDelim;
  return p;
}

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    auto base = std::filesystem::temp_directory_path();
    for (;;) {
      std::filesystem::path p = base / ("orvantis-test-" + std::to_string(rd()));
      std::error_code ec;
      if (std::filesystem::create_directory(p, ec)) {
        path_ = p.string();
        break;
      }
    }
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  std::string path() const { return path_; }
  // A path inside the folder; "/" in the name becomes this system's delimiter.
  std::string file(const std::string& name) const { return Native(path_ + "/" + name); }

 private:
  std::string path_;
};

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

}  // namespace testutil
