#include "shell/private_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "shell/output_naming.h"

namespace shell {

namespace {

bool IsPrivateFolder(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0) return false;
  return S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

}  // namespace

bool MakePrivateFolder(const std::string& path) {
  if (path.empty()) return false;
  for (size_t p = path.find('/', 1); p != std::string::npos; p = path.find('/', p + 1)) {
    std::string part = path.substr(0, p);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsPrivateFolder(path);
}

std::string UserConfigFolder() {
  std::string base;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/') base = x;
  else if (const char* h = std::getenv("HOME"); h && *h == '/') base = std::string(h) + "/.config";
  else return "";
  std::string folder = AddPathDelim(base) + "orvantis";
  return MakePrivateFolder(folder) ? AddPathDelim(folder) : "";
}

}  // namespace shell
