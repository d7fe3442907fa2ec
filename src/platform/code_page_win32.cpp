// Code page 932 through the system's own conversion functions. Best-fit
// look-alikes are refused, so a character the code page lacks fails here
// exactly as it does on other systems.
#include <windows.h>

#include "platform/code_page.h"

namespace platform {

bool Cp932ToUtf16(const uint8_t* p, size_t n, std::u16string& out) {
  out.clear();
  if (n == 0) return true;
  out.resize(n);
  int got = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(p), static_cast<int>(n),
                                reinterpret_cast<wchar_t*>(out.data()), static_cast<int>(n));
  if (got <= 0) return false;
  out.resize(static_cast<size_t>(got));
  return true;
}

bool Utf16ToCp932(const char16_t* p, size_t n, std::string& out) {
  out.clear();
  if (n == 0) return true;
  out.resize(n * 2);
  BOOL usedDefault = FALSE;
  int got = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t*>(p), static_cast<int>(n),
                                out.data(), static_cast<int>(out.size()), nullptr, &usedDefault);
  if (got <= 0 || usedDefault) return false;
  out.resize(static_cast<size_t>(got));
  return true;
}

}  // namespace platform
