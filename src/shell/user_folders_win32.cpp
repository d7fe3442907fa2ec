// The shell's own desktop and documents folders.
#include <windows.h>
#include <shlobj.h>

#include "platform/file_system.h"
#include "platform/wide_path.h"
#include "shell/user_folders.h"

namespace shell {

namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR p = nullptr;
  std::string r;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &p)) && p) r = platform::NarrowPath(p);
  CoTaskMemFree(p);
  return !r.empty() && platform::Fs().DirectoryExists(r) ? r : "";
}

}  // namespace

std::string DesktopFolder() { return KnownFolder(FOLDERID_Desktop); }
std::string DocumentsFolder() { return KnownFolder(FOLDERID_Documents); }

}  // namespace shell
