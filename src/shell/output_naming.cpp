#include "shell/output_naming.h"

#include "platform/file_system.h"

namespace shell {

namespace {

bool IsDelim(char c) { return c == '/' || c == '\\'; }

size_t NameStart(const std::string& path) {
  size_t p = path.find_last_of("/\\");
  return p == std::string::npos ? 0 : p + 1;
}

// Any entry makes a name taken, a dangling link included: it could not be
// created over.
bool Taken(const std::string& path) { return platform::Fs().EntryExists(path); }

}  // namespace

std::string AddPathDelim(const std::string& path) {
  if (!path.empty() && IsDelim(path.back())) return path;
  return path + platform::kDelim;
}

bool IsDirectory(const std::string& path) { return platform::Fs().DirectoryExists(path); }

std::string FileNamePart(const std::string& path) { return path.substr(NameStart(path)); }

std::string FolderPart(const std::string& path) { return path.substr(0, NameStart(path)); }

std::string LowerExt(const std::string& path) {
  size_t start = NameStart(path);
  size_t dot = path.rfind('.');
  if (dot == std::string::npos || dot < start) return "";
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

std::string MakeUniqueFileName(const std::string& path) {
  if (!Taken(path)) return path;
  std::string ext = LowerExt(path);
  std::string base = ext.empty() ? path : path.substr(0, path.size() - ext.size());
  for (int n = 1; n <= 99999; ++n) {
    std::string candidate = base + "~" + std::to_string(n) + ext;
    if (!Taken(candidate)) return candidate;
  }
  return "";
}

}  // namespace shell
