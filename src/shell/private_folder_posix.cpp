#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

#include "shell/output_naming.h"
#include "shell/private_folder.h"

namespace shell {

namespace {

// A real folder (not a link) of this user's, closed to others. One of ours
// left open by an older version is closed now; anyone else's is refused.
bool IsPrivateFolder(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != geteuid()) return false;
  return (st.st_mode & 077) == 0 || chmod(path.c_str(), 0700) == 0;
}

std::string ProgramFolderIn(const char* xdgVar, const char* homeDefault) {
  std::string base;
  if (const char* x = std::getenv(xdgVar); x && *x == '/') base = x;
  else if (const char* h = std::getenv("HOME"); h && *h == '/') base = std::string(h) + homeDefault;
  else return "";
  std::string folder = AddPathDelim(base) + "orvantis";
  return MakePrivateFolder(folder) ? AddPathDelim(folder) : "";
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

std::string UserConfigFolder() { return ProgramFolderIn("XDG_CONFIG_HOME", "/.config"); }
std::string UserCacheFolder() { return ProgramFolderIn("XDG_CACHE_HOME", "/.cache"); }

std::string FreshPrivateFolder() {
  const char* t = std::getenv("TMPDIR");
  std::string tmpl = AddPathDelim(t && *t == '/' ? t : "/tmp") + "orvantis-XXXXXX";
  return mkdtemp(tmpl.data()) ? AddPathDelim(tmpl) : "";
}

}  // namespace shell
