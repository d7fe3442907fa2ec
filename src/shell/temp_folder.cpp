#include "shell/temp_folder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "shell/output_naming.h"

namespace shell {

namespace fs = std::filesystem;

namespace {

bool Usable(const fs::path& dir) {
  std::error_code ec;
  fs::create_directories(dir, ec);
  return fs::is_directory(dir, ec) && access(dir.c_str(), W_OK | X_OK) == 0;
}

fs::path UserCacheFolder() {
  if (const char* x = std::getenv("XDG_CACHE_HOME"); x && *x) return fs::path(x) / "orvantis";
  if (const char* h = std::getenv("HOME"); h && *h) return fs::path(h) / ".cache" / "orvantis";
  return fs::temp_directory_path() / "orvantis";
}

}  // namespace

std::string ExecutableFolder() {
  std::error_code ec;
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec) return AddPathDelim(fs::current_path(ec).string());
  return AddPathDelim(exe.parent_path().string());
}

std::string MakeTempFolder(const std::string& exeFolder) {
  fs::path beside = fs::path(exeFolder) / "TEMP";
  if (Usable(beside)) return AddPathDelim(beside.string());
  fs::path cache = UserCacheFolder() / "TEMP";
  Usable(cache);
  return AddPathDelim(cache.string());
}

std::string MakeRunFolder(const std::string& tempFolder) {
  fs::path run = fs::path(tempFolder) / ("run-" + std::to_string(getpid()));
  std::error_code ec;
  fs::create_directories(run, ec);
  return AddPathDelim(run.string());
}

void RemoveTempFolderIfEmpty(const std::string& folder) {
  std::error_code ec;
  if (fs::is_directory(folder, ec) && fs::is_empty(folder, ec)) fs::remove(folder, ec);
}

}  // namespace shell
