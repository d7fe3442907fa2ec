// Text in the system's own single-byte code page, for the one settings line
// that is stored unconverted. Windows uses its ANSI code page; other systems
// have none and store UTF-8.
#pragma once

#include <string>

#include "jww/jwwtype.h"

namespace shell {

std::string ToSystemAnsi(const jww::JString& s);
jww::JString FromSystemAnsi(const std::string& bytes);

}  // namespace shell
