#include "shell/output_naming.h"

#include <filesystem>

namespace shell {

namespace {

bool IsDelim(char c) { return c == '/' || c == '\\'; }

size_t NameStart(const std::string& path) {
  size_t p = path.find_last_of("/\\");
  return p == std::string::npos ? 0 : p + 1;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

}  // namespace

std::string AddPathDelim(const std::string& path) {
  if (!path.empty() && IsDelim(path.back())) return path;
  return path + static_cast<char>(std::filesystem::path::preferred_separator);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_directory(path, ec);
}

std::string FileNamePart(const std::string& path) { return path.substr(NameStart(path)); }

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
  if (!Exists(path)) return path;
  std::string ext = LowerExt(path);
  std::string base = ext.empty() ? path : path.substr(0, path.size() - ext.size());
  for (int n = 1; n <= 99999; ++n) {
    std::string candidate = base + "~" + std::to_string(n) + ext;
    if (!Exists(candidate)) return candidate;
  }
  return "";
}

}  // namespace shell
