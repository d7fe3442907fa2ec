#include "app/styles.h"

#include <windows.h>
#include <uxtheme.h>

namespace app {

std::vector<std::wstring> AvailableStyles() { return {L"Windows", L"Classic"}; }

bool ApplyStyle(const std::wstring& name) {
  if (name == L"Windows") {
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS | STAP_ALLOW_WEBCONTENT);
    return true;
  }
  if (name == L"Classic") {
    SetThemeAppProperties(STAP_ALLOW_NONCLIENT);  // themed frame, classic controls
    return true;
  }
  return false;
}

}  // namespace app
