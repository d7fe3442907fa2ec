// On Windows the user's application-data folders are closed to other users
// already; the program's folder inside them inherits that.
#include <windows.h>

#include <random>

#include "platform/file_system.h"
#include "platform/wide_path.h"
#include "shell/output_naming.h"
#include "shell/private_folder.h"

namespace shell {

namespace {

std::string ProgramFolderIn(const wchar_t* var) {
  wchar_t buf[32768];
  DWORD n = GetEnvironmentVariableW(var, buf, 32768);
  if (n == 0 || n >= 32768) return "";
  std::string folder = AddPathDelim(platform::NarrowPath(std::wstring(buf, n))) + "Orvantis";
  return MakePrivateFolder(folder) ? AddPathDelim(folder) : "";
}

}  // namespace

bool MakePrivateFolder(const std::string& path) { return !path.empty() && platform::Fs().CreateFolders(path); }

std::string UserConfigFolder() { return ProgramFolderIn(L"APPDATA"); }
std::string UserCacheFolder() { return ProgramFolderIn(L"LOCALAPPDATA"); }

std::string FreshPrivateFolder() {
  wchar_t buf[MAX_PATH + 1];
  DWORD n = GetTempPathW(MAX_PATH + 1, buf);
  if (n == 0 || n > MAX_PATH) return "";
  std::random_device rd;
  std::string folder = AddPathDelim(platform::NarrowPath(std::wstring(buf, n))) + "orvantis-" + std::to_string(rd());
  return CreateDirectoryW(platform::WidePath(folder).c_str(), nullptr) ? AddPathDelim(folder) : "";
}

}  // namespace shell
