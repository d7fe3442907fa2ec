// UTF-8 paths and texts to the UTF-16 of the Windows API and back.
#pragma once

#include <string>

namespace platform {

std::wstring WidePath(const std::string& utf8);
std::string NarrowPath(const std::wstring& utf16);

}  // namespace platform
