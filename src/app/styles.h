// The screen styles the window offers. A style is applied only at start,
// before any control exists; a name the program does not offer gives
// "Windows".
#pragma once

#include <string>
#include <vector>

namespace app {

// "Windows" (the system's visual style) and "Classic" (visual styles off).
std::vector<std::wstring> AvailableStyles();
// Applies the style; false when it cannot be, and nothing changes.
bool ApplyStyle(const std::wstring& name);

}  // namespace app
