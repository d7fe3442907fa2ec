// Shared by the fuzz targets: a private image folder, and a check that a run
// leaves no file descriptor open behind it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "jww/jww_data.h"

namespace fuzz {

// A folder of this process for extracted images, made once.
inline const std::string& ImageFolder() {
  static const std::string folder = [] {
    std::string tmpl = (std::filesystem::temp_directory_path() / "orvantis-fuzz-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) std::abort();
    return tmpl + "/";
  }();
  return folder;
}

inline size_t OpenDescriptors() {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// Deletes what reading extracted, as the batch run does between files.
inline void Release(jww::TJwwData& d) {
  d.BindImageDeleteGzFile();
  d.BindImageDeleteNonGzFile();
  d.DataFree();
  d.BindImageInit();
}

// Aborts (a finding) when the run left a descriptor open or a file behind.
class LeakGuard {
 public:
  LeakGuard() : fds_(OpenDescriptors()) {}
  ~LeakGuard() {
    if (OpenDescriptors() != fds_) {
      std::fprintf(stderr, "file descriptor leaked\n");
      std::abort();
    }
    if (!std::filesystem::is_empty(ImageFolder())) {
      std::fprintf(stderr, "extracted image left behind\n");
      std::abort();
    }
  }

 private:
  size_t fds_;
};

}  // namespace fuzz
