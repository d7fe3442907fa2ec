// The desktop's user folders: XDG_DESKTOP_DIR and XDG_DOCUMENTS_DIR from
// user-dirs.dirs, else ~/Desktop and ~/Documents. Only an existing folder
// counts; a server without them has none.
#include <sys/stat.h>

#include <cstdlib>
#include <fstream>

#include "shell/user_folders.h"

namespace shell {

namespace {

std::string Home() {
  const char* h = std::getenv("HOME");
  return h && *h == '/' ? h : "";
}

// The value of `key` in user-dirs.dirs: KEY="$HOME/sub" or KEY="/abs".
std::string FromUserDirs(const std::string& key) {
  std::string file;
  if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x == '/') file = std::string(x) + "/user-dirs.dirs";
  else if (!Home().empty()) file = Home() + "/.config/user-dirs.dirs";
  else return "";
  std::ifstream in(file);
  std::string line, found;
  while (std::getline(in, line)) {
    if (!line.starts_with(key + "=\"") || line.size() < key.size() + 3 || line.back() != '"') continue;
    std::string v = line.substr(key.size() + 2, line.size() - key.size() - 3);
    if (v.starts_with("$HOME")) v = Home().empty() ? "" : Home() + v.substr(5);
    if (v.starts_with("/")) found = v;
  }
  return found;
}

bool IsFolder(const std::string& p) {
  struct stat st;
  return !p.empty() && stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string UserFolder(const std::string& key, const char* fallback) {
  std::string p = FromUserDirs(key);
  if (p.empty() && !Home().empty()) p = Home() + "/" + fallback;
  return IsFolder(p) ? p : "";
}

}  // namespace

std::string DesktopFolder() { return UserFolder("XDG_DESKTOP_DIR", "Desktop"); }
std::string DocumentsFolder() { return UserFolder("XDG_DOCUMENTS_DIR", "Documents"); }

}  // namespace shell
