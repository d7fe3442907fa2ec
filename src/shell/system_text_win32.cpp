#include <windows.h>

#include "shell/system_text.h"

namespace shell {

std::string ToSystemAnsi(const jww::JString& s) {
  if (s.empty()) return {};
  const wchar_t* w = reinterpret_cast<const wchar_t*>(s.data());
  int n = WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
  std::string r(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, w, static_cast<int>(s.size()), r.data(), n, nullptr, nullptr);
  return r;
}

jww::JString FromSystemAnsi(const std::string& bytes) {
  if (bytes.empty()) return {};
  int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  jww::JString r(static_cast<size_t>(n), u'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t*>(r.data()), n);
  return r;
}

}  // namespace shell
